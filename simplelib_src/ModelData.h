#pragma once
// Wavefront OBJ models with their MTL materials, read in two passes into exactly sized arrays,
// with facet and smoothed vertex normals, drawn with immediate-mode GL. Indices are 1-based as
// in the file: element 0 of the vertex, normal, texture-coordinate and facet-normal arrays is a
// placeholder.
#include "BasicVector.h"

#include <string>
#include <vector>

class Sprite;

struct ModelTriangle {
    uint32_t vindices[3];
    uint32_t nindices[3];
    uint32_t tindices[3];
    uint32_t findex;
};

struct ModelGroup {
    std::string name;
    uint32_t numtriangles;
    std::vector<uint32_t> triangles;  // 0-based positions in the model's triangles
    uint32_t material;
    ModelGroup* next;
};

struct ModelMaterial {
    std::string name;
    float diffuse[4];
    float ambient[4];
    float specular[4];
    float shininess;
    Sprite* texture;  // from the sprite manager, released with the model
    float textureScale[3];
    bool ambientMapSeen;
};

struct ModelData {
    std::string pathname;
    std::string materialLibraryName;  // empty when the file names none
    uint32_t numvertices = 0;
    std::vector<Float3> vertices;
    uint32_t numnormals = 0;
    std::vector<Float3> normals;
    uint32_t numtexcoords = 0;
    std::vector<Float2> texcoords;
    uint32_t numfacetnorms = 0;
    std::vector<Float3> facetnorms;
    uint32_t numtriangles = 0;
    std::vector<ModelTriangle> triangles;
    uint32_t nummaterials = 0;
    std::vector<ModelMaterial> materials;  // empty when no material library was read
    uint32_t numgroups = 0;
    ModelGroup* groups = nullptr;  // the most recently created first
};

ModelData* glmReadOBJ(const std::string& path);
void glmReadMTL(const std::string& libraryName, ModelData* model);
uint32_t glmFindMaterial(ModelData* model, const std::string& name);
ModelGroup* findGroup(ModelData* model, const std::string& name);
void scaleModel(ModelData* model, float factor);
void computeFacetNormals(ModelData* model);
void glmVertexNormals(ModelData* model, float angleDegrees);
void weldModel(ModelData* model, float tolerance);
void glmDraw(ModelData* model);
void deleteModelData(ModelData* model);
