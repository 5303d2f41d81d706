#pragma once
// The region table: a dense 3D array of regions that grows on demand in every direction. Items
// are filed in the region containing them; the per-frame update, drawing and queries visit only
// the regions near the camera.
#include "BasicVector.h"

#include <utility>

struct Region;
struct CustomObject;

// The table never holds more regions than this (about 150 MB with empty regions): a world file,
// an edit or a script moving an object that would need more is refused.
const int64_t MAX_TABLE_REGIONS = 1 << 21;

class WorldIndexator {
public:
    float regionSize;       // world units
    Int3 minIndex;          // absolute region index of table index (0, 0, 0)
    Int3 tableRegionSize;   // regions along x, y, z
    Region** tableRegions;  // owned; x varies fastest
    float viewDistance;     // world units; regions within it are updated and drawn

    explicit WorldIndexator(float regionSize);
    ~WorldIndexator();

    void allocateTable();
    void freeTable();
    void resetTable();
    // Table index of the region containing p, not tested against the table. Points too far for
    // any table give an index far outside it.
    Int3 regionIndexOf(const Float3& p) const;
    bool isIndexInTableRegion(const Int3& index) const;
    int64_t nbRegions() const;
    // The region containing p, or null when it lies outside the table (the table does not grow).
    Region* regionAt(const Float3& p) const;
    Region* getRegion(const Int3& posIndex) const;
    // Grows the table so that absolute index P is inside; returns the shift to subtract from
    // table indices held by the caller.
    Int3 growToInclude(const Int3& absoluteIndex);
    Int3 resizeTable(const Int3& shift, const Int3& extra);
    // The one region of an item, growing the table if needed; false when the box spans two.
    bool findRegionForBox(const Float3& center, const Float3& size, Int3& index);

    void updateRegions();
    bool isPointInside(const Float3& p);
    bool segmentQuery(const Float3& a, const Float3& b, Float3& hit);

    bool removeAtPoint(const Float3& p);
    bool removeNearest(const Float3& p);
    void clearRegionAt(const Float3& p);
    void swapRegionContents(const Float3& p, const Int3& offset);
    void removeUnusedRegions();

    // Table indices around c within the view radius, x outermost, each ascending.
    template <typename Visit>
    void forNeighbourhood(const Int3& c, Visit visit) const;

private:
    int64_t slot(const Int3& index) const;
    int viewRadius() const;
};

extern WorldIndexator* worldIndexator;

// The custom objects' frame: filled in by the scripting side.
extern void (*manageObject)(CustomObject& object);

// GL state shared by region drawing, the update and the queries.
void applyRegionDrawingState();

template <typename Visit>
void WorldIndexator::forNeighbourhood(const Int3& c, Visit visit) const {
    const int r = viewRadius();
    for (int x = c.x() - r; x <= c.x() + r; ++x)
        for (int y = c.y() - r; y <= c.y() + r; ++y)
            for (int z = c.z() - r; z <= c.z() + r; ++z) {
                Int3 index(x, y, z);
                if (isIndexInTableRegion(index)) visit(index);
            }
}
