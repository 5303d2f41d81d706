#include "WorldIndexator.h"
#include "CubeType.h"
#include "DeviceManager.h"
#include "ErrorReport.h"
#include "Geometry.h"
#include "Region.h"
#include "Scene3D.h"
#include "VBO.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <string>

WorldIndexator* worldIndexator = nullptr;
void (*manageObject)(CustomObject& object) = nullptr;

// Region indices beyond this are outside any table the limit allows; far points are clamped to
// it so that the float-to-int conversion is always defined.
static const float FAR_REGION_INDEX = 16777216.f;

Region::~Region() { discardBatch(); }

void Region::discardBatch() {
    delete batch;
    batch = nullptr;
}

void applyRegionDrawingState() {
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
    scene3D->lighting = false;
    glDisable(GL_LIGHTING);
    gluQuadricNormals(scene3D->quadric, GLU_NONE);
}

WorldIndexator::WorldIndexator(float regionSize_)
    : regionSize(regionSize_),
      minIndex(-1, -1, -1),
      tableRegionSize(2, 2, 2),
      tableRegions(nullptr),
      viewDistance(0.f) {
    ASSERT(deviceManager);
    allocateTable();
}

WorldIndexator::~WorldIndexator() { freeTable(); }

int64_t WorldIndexator::slot(const Int3& i) const {
    return i.x() + (i.y() + static_cast<int64_t>(i.z()) * tableRegionSize.y()) * tableRegionSize.x();
}

int64_t WorldIndexator::nbRegions() const {
    return static_cast<int64_t>(tableRegionSize.x()) * tableRegionSize.y() * tableRegionSize.z();
}

Region* WorldIndexator::regionAt(const Float3& p) const {
    const Int3 i = regionIndexOf(p);
    return isIndexInTableRegion(i) ? getRegion(i) : nullptr;
}

int WorldIndexator::viewRadius() const { return static_cast<int>(viewDistance / regionSize); }

void WorldIndexator::allocateTable() {
    const int64_t count = nbRegions();
    tableRegions = new Region*[count];
    ASSERT(tableRegions != NULL);
    for (int x = 0; x < tableRegionSize.x(); ++x)
        for (int y = 0; y < tableRegionSize.y(); ++y)
            for (int z = 0; z < tableRegionSize.z(); ++z) tableRegions[slot(Int3(x, y, z))] = new Region;
}

void WorldIndexator::freeTable() {
    if (!tableRegions) return;
    const int64_t count = nbRegions();
    for (int64_t i = 0; i < count; ++i) delete tableRegions[i];
    delete[] tableRegions;
    tableRegions = nullptr;
}

void WorldIndexator::resetTable() {
    freeTable();
    tableRegionSize = Int3(2, 2, 2);
    minIndex = Int3(-1, -1, -1);
    allocateTable();
}

Int3 WorldIndexator::regionIndexOf(const Float3& p) const {
    Int3 index;
    for (int axis = 0; axis < 3; ++axis) {
        float r = std::floor(p[axis] / regionSize);
        if (!(r > -FAR_REGION_INDEX)) r = -FAR_REGION_INDEX;  // NaN too
        if (r > FAR_REGION_INDEX) r = FAR_REGION_INDEX;
        index[axis] = static_cast<int32_t>(r) - minIndex[axis];
    }
    return index;
}

bool WorldIndexator::isIndexInTableRegion(const Int3& index) const {
    return index >= Int3(0, 0, 0) && index < tableRegionSize;
}

Region* WorldIndexator::getRegion(const Int3& posIndex) const {
    // The condition texts are reported exactly as written here.
    // clang-format off
    ASSERT(posIndex >= Int3(0,0,0) && posIndex < tableRegionSize);
    // clang-format on
    Region* wr = tableRegions[slot(posIndex)];
    ASSERT(wr);
    return wr;
}

Int3 WorldIndexator::growToInclude(const Int3& absoluteIndex) {
    const Int3 rel = absoluteIndex - minIndex;
    Int3 extra(0, 0, 0), modMin(0, 0, 0);
    bool beyond = false;
    for (int axis = 0; axis < 3; ++axis) beyond = beyond || rel[axis] >= tableRegionSize[axis];
    for (int axis = 0; axis < 3; ++axis) {
        if (beyond && rel[axis] >= tableRegionSize[axis]) extra[axis] = rel[axis] - tableRegionSize[axis] + 1;
        if (rel[axis] < 0) modMin[axis] = rel[axis];
    }
    // clang-format off
    ASSERT(modMin <= Int3(0,0,0));
    // clang-format on
    return resizeTable(modMin, extra);
}

Int3 WorldIndexator::resizeTable(const Int3& shift, const Int3& extra) {
    const Int3 newSize = tableRegionSize - shift + extra;
    const int64_t count = static_cast<int64_t>(newSize.x()) * newSize.y() * newSize.z();
    if (!(newSize > Int3(0, 0, 0)) || count > MAX_TABLE_REGIONS) {
        FATAL_ERROR("Region table: " + std::to_string(newSize.x()) + " x " + std::to_string(newSize.y()) + " x " +
                    std::to_string(newSize.z()) + " regions would exceed the limit of " +
                    std::to_string(MAX_TABLE_REGIONS) + " (an item lies too far from the others)");
    }
    Region** oldRegions = tableRegions;
    const Int3 oldSize = tableRegionSize;
    tableRegionSize = newSize;
    minIndex += shift;
    allocateTable();
    for (int x = 0; x < oldSize.x(); ++x)
        for (int y = 0; y < oldSize.y(); ++y)
            for (int z = 0; z < oldSize.z(); ++z) {
                const Int3 o(x, y, z);
                Region* wr = oldRegions[o.x() + (o.y() + static_cast<int64_t>(o.z()) * oldSize.y()) * oldSize.x()];
                ASSERT(wr != NULL);
                const Int3 n = o - shift;
                if (!isIndexInTableRegion(n)) {
                    delete wr;  // outside the new table: dropped from the world
                    continue;
                }
                Region*& target = tableRegions[slot(n)];
                Region* wrToFree = target;
                ASSERT(wrToFree != NULL);
                delete wrToFree;
                wr->discardBatch();
                target = wr;
            }
    delete[] oldRegions;
    return shift;
}

bool WorldIndexator::findRegionForBox(const Float3& c, const Float3& s, Int3& index) {
    for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(c[axis]) || !std::isfinite(s[axis]))
            FATAL_ERROR("Region table: an item at a position or size that is not a finite number");
    const Float3 half = s * 0.5f;
    const Float3 lo = c - half, hi = c + half;
    const Int3 li = regionIndexOf(lo), hiIndex = regionIndexOf(hi);
    bool found = false;
    if (li == hiIndex || s == Float3(0.f, 0.f, 0.f)) {
        index = li;
        found = true;
    }
    for (float dx = -0.01f; !found && dx <= 0.01f; dx += 0.01f)
        for (float dy = -0.01f; !found && dy <= 0.01f; dy += 0.01f)
            for (float dz = -0.01f; !found && dz <= 0.01f; dz += 0.01f)
                if (regionIndexOf(hi + Float3(dx, dy, dz)) == li) {
                    index = li;
                    found = true;
                }
    for (float dx = -0.01f; !found && dx <= 0.01f; dx += 0.01f)
        for (float dy = -0.01f; !found && dy <= 0.01f; dy += 0.01f)
            for (float dz = -0.01f; !found && dz <= 0.01f; dz += 0.01f)
                if (regionIndexOf(lo + Float3(dx, dy, dz)) == hiIndex) {
                    index = regionIndexOf(lo + Float3(0.01f, 0.01f, 0.01f));
                    found = true;
                }
    if (!found) return false;
    if (!isIndexInTableRegion(index)) index -= growToInclude(index + minIndex);
    return true;
}

void WorldIndexator::updateRegions() {
    applyRegionDrawingState();
    const Int3 c = regionIndexOf(scene3D->camera.position());
    std::vector<CustomObject> moved;
    forNeighbourhood(c, [&](const Int3& index) {
        Region* region = getRegion(index);
        region->isVisited = true;
        for (const CubeZone& zone : region->zones) findCubeType(zone.id);
        for (size_t i = 0; i < region->objects.size();) {
            const Float3 before = region->objects[i].position;
            if (manageObject) manageObject(region->objects[i]);
            if (region->objects[i].position != before) {
                moved.push_back(region->objects[i]);
                region->discardBatch();
                region->objects.erase(region->objects.begin() + i);
            } else {
                ++i;
            }
        }
    });
    for (const CustomObject& object : moved) {
        Int3 index;
        bool isOk = findRegionForBox(object.position, Float3(0.f, 0.f, 0.f), index);
        ASSERT(isOk);
        Region* region = getRegion(index);
        region->discardBatch();
        region->objects.push_back(object);
    }
    int removed = 0;
    const int64_t count = nbRegions();
    for (int64_t i = 0; i < count; ++i) {
        Region* region = tableRegions[i];
        if (region->isVisited) {
            region->isVisited = false;
        } else if (region->batch) {
            if (region->batch->nbVertices > 0) ++removed;
            region->discardBatch();
        }
    }
    if (removed > 0) std::printf("Removed %d regions\n", removed);
}

bool WorldIndexator::isPointInside(const Float3& p) {
    applyRegionDrawingState();
    Region* region = regionAt(p);
    if (!region) return false;
    for (const CubeZone& zone : region->zones)
        if (zone.isInside(p)) return true;
    return false;
}

bool WorldIndexator::segmentQuery(const Float3& a, const Float3& b, Float3& hit) {
    applyRegionDrawingState();
    bool found = false;
    forNeighbourhood(regionIndexOf(scene3D->camera.position()), [&](const Int3& index) {
        if (found) return;
        for (const CubeZone& zone : getRegion(index)->zones)
            if (zone.segmentHit(b, a, hit)) {
                found = true;
                return;
            }
    });
    return found;
}

bool WorldIndexator::removeAtPoint(const Float3& p) {
    Region* region = regionAt(p);
    if (!region) return false;
    region->discardBatch();
    for (size_t k = 0; k < region->zones.size(); ++k)
        if (region->zones[k].center == p) {
            region->zones.erase(region->zones.begin() + k);
            return true;
        }
    for (size_t k = 0; k < region->objects.size(); ++k)
        if (region->objects[k].position == p) {
            region->objects.erase(region->objects.begin() + k);
            return true;
        }
    return false;
}

// Index of the item nearest to p; on equal distances the later one wins. -1 when empty.
template <typename Item, typename Where>
static long nearestItem(const std::vector<Item>& items, const Float3& p, Where where) {
    long best = -1;
    float bestDistance = 0.f;
    for (size_t k = 0; k < items.size(); ++k) {
        float d = length(where(items[k]) - p);
        if (best < 0 || d <= bestDistance) {
            best = static_cast<long>(k);
            bestDistance = d;
        }
    }
    return best;
}

bool WorldIndexator::removeNearest(const Float3& p) {
    Region* region = regionAt(p);
    if (!region) return false;
    region->discardBatch();
    long zone = nearestItem(region->zones, p, [](const CubeZone& z) { return z.center; });
    if (zone >= 0) {
        region->zones.erase(region->zones.begin() + zone);
        return true;
    }
    long object = nearestItem(region->objects, p, [](const CustomObject& o) { return o.position; });
    if (object >= 0) {
        region->objects.erase(region->objects.begin() + object);
        return true;
    }
    return false;
}

void WorldIndexator::clearRegionAt(const Float3& p) {
    Region* region = regionAt(p);
    if (!region) return;
    region->discardBatch();
    region->zones.clear();
    region->objects.clear();
}

void WorldIndexator::swapRegionContents(const Float3& p, const Int3& offset) {
    Int3 indexRegion1 = regionIndexOf(p);
    Int3 indexRegion2 = indexRegion1 + offset;
    if (!isIndexInTableRegion(indexRegion1)) {
        Int3 s = growToInclude(indexRegion1 + minIndex);
        indexRegion1 -= s;
        indexRegion2 -= s;
    }
    if (!isIndexInTableRegion(indexRegion2)) {
        Int3 s = growToInclude(indexRegion2 + minIndex);
        indexRegion1 -= s;
        indexRegion2 -= s;
    }
    ASSERT(isIndexInTableRegion(indexRegion1));
    Region* r1 = getRegion(indexRegion1);
    Region* r2 = getRegion(indexRegion2);
    const Int3 steps = indexRegion2 - indexRegion1;
    const Float3 d(steps.x() * regionSize, steps.y() * regionSize, steps.z() * regionSize);
    for (CubeZone& zone : r1->zones) zone.center += d;
    for (CustomObject& object : r1->objects) object.position += d;
    for (CubeZone& zone : r2->zones) zone.center -= d;
    for (CustomObject& object : r2->objects) object.position -= d;
    r1->discardBatch();
    r2->discardBatch();
    tableRegions[slot(indexRegion1)] = r2;
    tableRegions[slot(indexRegion2)] = r1;
}

void WorldIndexator::removeUnusedRegions() {
    Int3 bbMin(-1, -1, -1), bbMax(0, 0, 0);
    for (int x = 0; x < tableRegionSize.x(); ++x)
        for (int y = 0; y < tableRegionSize.y(); ++y)
            for (int z = 0; z < tableRegionSize.z(); ++z) {
                const Region* region = tableRegions[slot(Int3(x, y, z))];
                if (region->zones.empty() && region->objects.empty()) continue;
                const Int3 absolute = minIndex + Int3(x, y, z);
                for (int axis = 0; axis < 3; ++axis) {
                    if (absolute[axis] < bbMin[axis]) bbMin[axis] = absolute[axis];
                    if (absolute[axis] > bbMax[axis]) bbMax[axis] = absolute[axis];
                }
            }
    resizeTable(bbMin - minIndex, bbMax - (minIndex + tableRegionSize - Int3(1, 1, 1)));
}
