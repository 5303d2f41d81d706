#include "ObjModel.h"
#include "ErrorReport.h"
#include "Geometry.h"
#include "ModelData.h"

#include <GL/gl.h>

#include <cstdio>

std::vector<ModelCacheEntry> modelCache;

// Below this distance every vertex of a kept model is merged into one: only collisions read the
// kept data, and they find nothing in models smaller than this.
static const float COLLISION_WELD_TOLERANCE = 1000.f;

ObjModel::ObjModel(const std::string& parFilename, float scale, float weldTolerance) : cacheIndex(0) {
    ASSERT(parFilename != "");
    for (size_t i = 0; i < modelCache.size(); ++i) {
        if (modelCache[i].filename == parFilename) {
            cacheIndex = static_cast<uint32_t>(i);
            ++modelCache[i].nbUses;
            std::printf("Getting model '%s'\n", parFilename.c_str());
            return;
        }
    }
    std::printf("Loading model '%s' ... \n", parFilename.c_str());
    ModelData* model = glmReadOBJ(parFilename);
    if (scale != 1.f) scaleModel(model, scale);
    computeFacetNormals(model);
    glmVertexNormals(model, 90.f);
    if (weldTolerance > 0.f) weldModel(model, weldTolerance);
    unsigned int list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glmDraw(model);
    glEndList();
    weldModel(model, COLLISION_WELD_TOLERANCE);
    modelCache.push_back(ModelCacheEntry{parFilename, model, list, 1});
    cacheIndex = static_cast<uint32_t>(modelCache.size() - 1);
    std::printf("...loading model done\n");
}

ObjModel::~ObjModel() {
    ModelCacheEntry& element = modelCache[cacheIndex];
    --element.nbUses;
    ASSERT(element.nbUses >= 0);
    if (element.nbUses > 0) {
        std::printf("Ungetting model '%s'\n", element.filename.c_str());
        return;
    }
    std::printf("Unloading model %s ...\n", element.filename.c_str());
    glDeleteLists(element.displayList, 1);
    deleteModelData(element.model);
    element.model = nullptr;
    element.filename.clear();
    std::printf("... unloading model done\n");
}

void ObjModel::draw() { glCallList(modelCache[cacheIndex].displayList); }

// Whether a triangle projected on the plane of axes (i, j) is usable: no two corners coincide
// and the corners do not all share one coordinate.
static bool usablePlane(const Float3 v[3], int i, int j) {
    for (int k = 0; k < 3; ++k) {
        const Float3& p = v[k];
        const Float3& q = v[(k + 1) % 3];
        if (p[i] == q[i] && p[j] == q[j]) return false;
    }
    bool sameI = v[0][i] == v[1][i] && v[1][i] == v[2][i];
    bool sameJ = v[0][j] == v[1][j] && v[1][j] == v[2][j];
    return !sameI && !sameJ;
}

bool segmentHitsTriangle(const Float3& a, const Float3& b, const Float3 v[3], const Float3& n, Float3& contact) {
    for (int k = 0; k < 3; ++k)
        if (v[k] == v[(k + 1) % 3]) return false;
    Float3 d = b - a;
    float p = -dot(n, v[0]);
    // A segment parallel to the plane has no crossing point to report.
    if (dot(n, d) == 0.f) return false;
    float t = -(dot(n, b) + p) / dot(n, d);
    Float3 hit = b + d * t;

    int i, j;
    if (usablePlane(v, 0, 1))
        i = 0, j = 1;
    else if (usablePlane(v, 0, 2))
        i = 0, j = 2;
    else if (usablePlane(v, 1, 2))
        i = 1, j = 2;
    else
        return false;

    for (int k = 0; k < 3; ++k) {
        const Float3& e0 = v[k];
        const Float3& e1 = v[(k + 1) % 3];
        const Float3& third = v[(k + 2) % 3];
        float ex = e1[i] - e0[i], ey = e1[j] - e0[j];
        float sideHit = ex * (hit[j] - e0[j]) - ey * (hit[i] - e0[i]);
        float sideThird = ex * (third[j] - e0[j]) - ey * (third[i] - e0[i]);
        if (sideHit * sideThird < 0.f) return false;
    }
    // Side values truncated toward zero: at least 1 means x >= 1, below 0 means x <= -1.
    float sideA = dot(n, a) + p, sideB = dot(n, b) + p;
    if ((sideA >= 1.f && sideB >= 1.f) || (sideA <= -1.f && sideB <= -1.f)) return false;
    contact = hit;
    return true;
}

bool ObjModel::collide(const Float3& from, const Float3& to, Float3& contact) {
    ModelData* model = modelCache[cacheIndex].model;
    ASSERT(model);
    if (model->facetnorms.empty()) reportError(__FILE__, __TIME__, "model->facetnorms", __LINE__, nullptr);
    for (const ModelTriangle& t : model->triangles) {
        const Float3 v[3] = {model->vertices[t.vindices[0]], model->vertices[t.vindices[1]],
                             model->vertices[t.vindices[2]]};
        if (segmentHitsTriangle(from, to, v, model->facetnorms[t.findex], contact)) return true;
    }
    return false;
}
