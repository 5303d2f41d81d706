#pragma once
#include "CubeZone.h"
#include "CustomObject.h"

#include <vector>

class VBOBatch;

// One cube of space, regionSize wide, and everything filed in it.
struct Region {
    VBOBatch* batch = nullptr;  // owned; null until drawn after a change
    std::vector<CubeZone> zones;
    std::vector<CustomObject> objects;
    bool isVisited = false;  // by the current update

    ~Region();
    // Every change to the zones calls this so that the next draw rebuilds the geometry.
    void discardBatch();
};
