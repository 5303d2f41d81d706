#pragma once
#include "BasicVector.h"

// Everything drawn in 3D besides the cubes goes through this: the world and the models.
class Object3D {
public:
    Float3 position;  // where the owner draws the object

    Object3D() : position(0.f, 0.f, 0.f) {}
    virtual bool containsPoint(const Float3&) { return false; }
    // The segment from `from` to `to` against the object; contact is the point hit.
    virtual bool collide(const Float3& from, const Float3& to, Float3& contact) = 0;
    virtual bool intersectSegment(const Float3&, const Float3&, Float3&) { return false; }
    virtual ~Object3D() {}
    virtual void draw() = 0;
};
