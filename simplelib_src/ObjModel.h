#pragma once
// A model file shown through the program-wide model cache: the first ObjModel of a file reads
// and records it into a display list, later ones count a use, the last one frees it.
#include "Object3D.h"

#include <string>
#include <vector>

struct ModelData;

struct ModelCacheEntry {
    std::string filename;  // emptied when released; the entry then stays in place
    ModelData* model;
    unsigned int displayList;
    int nbUses;
};

// Only appended to, so an entry's position never changes.
extern std::vector<ModelCacheEntry> modelCache;

class ObjModel : public Object3D {
public:
    uint32_t cacheIndex;

    // weldTolerance > 0 merges vertices before recording; the engine passes 0.
    ObjModel(const std::string& parFilename, float scale, float weldTolerance);
    ~ObjModel() override;
    void draw() override;
    bool collide(const Float3& from, const Float3& to, Float3& contact) override;
};

// The segment test against one triangle with its facet normal, as ObjModel::collide uses it.
bool segmentHitsTriangle(const Float3& a, const Float3& b, const Float3 v[3], const Float3& normal, Float3& contact);
