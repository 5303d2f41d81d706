#pragma once
// A box of cubes of one type, stored by value in its region, with its precomputed static
// shadows. Shadow faces: 0 -x, 1 +x, 2 -y, 3 +y, 4 -z, 5 +z.
#include "BasicVector.h"

#include <vector>

const int NB_SHADOW_FACES = 6;

class CubeZone {
public:
    int32_t id;  // number of its cube type
    Float3 center;
    Float3 size;                                           // full edge lengths
    int32_t reserved;                                      // kept and saved with the zone, not interpreted
    std::vector<Float3> shadowTriangles[NB_SHADOW_FACES];  // whole triangles, relative to center
    bool faceShadowed[NB_SHADOW_FACES];                    // the face looked away from the sun when shadows were made

    CubeZone(const Float3& center, const Float3& size, int32_t id);

    // Bounds inclusive; zones of a type that does not collide, or does not exist, are never hit.
    bool isInside(const Float3& point) const;
    // Walks from start toward end one unit at a time and reports the first point inside; only
    // for segments going toward +x, and never past the end.
    bool segmentHit(const Float3& start, const Float3& end, Float3& hit) const;
};
