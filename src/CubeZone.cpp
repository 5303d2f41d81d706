#include "CubeZone.h"
#include "CubeType.h"
#include "ErrorReport.h"
#include "Geometry.h"

#include <cmath>

// World units; far beyond any region table the world accepts.
static const float MAX_SEGMENT_WALK = 1e9f;

CubeZone::CubeZone(const Float3& center_, const Float3& size_, int32_t id_)
    : id(id_), center(center_), size(size_), reserved(0) {
    for (bool& shadowed : faceShadowed) shadowed = false;
}

bool CubeZone::isInside(const Float3& point) const {
    ASSERT(id >= 0);
    CubeType* type = findCubeType(id);
    if (!type || !type->isCollidable) return false;
    for (int axis = 0; axis < 3; ++axis) {
        float half = size[axis] * 0.5f;
        float lo = center[axis] - half, hi = center[axis] + half;
        if (!(lo <= point[axis] && point[axis] <= hi)) return false;
    }
    return true;
}

bool CubeZone::segmentHit(const Float3& start, const Float3& end, Float3& hit) const {
    CubeType* type = findCubeType(id);
    if (!type || !type->isCollidable) return false;
    Float3 d = end - start;
    if (!(end.x() > start.x())) return false;
    // The walk ends where the segment does: one-unit steps, at most its length of them.
    const float walk = length(d);
    if (!std::isfinite(walk)) return false;
    const int64_t steps = static_cast<int64_t>(std::fmin(walk, MAX_SEGMENT_WALK));
    normalize(d);
    Float3 p = start;
    for (int64_t walked = 0; walked <= steps; ++walked) {
        if (isInside(p)) {
            hit = p;
            return true;
        }
        p += d;
    }
    return false;
}
