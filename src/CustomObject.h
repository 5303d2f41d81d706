#pragma once
#include "BasicVector.h"

// A script-driven object of the world, stored by value in its region.
struct CustomObject {
    Float3 position;             // world units
    int32_t id;                  // type number: objects of one type share their script functions
    float localVariable1 = 0.f;  // for the script; not saved
    float localVariable2 = 0.f;
};
