#pragma once
// Static GPU buffers for the world's regions. A batch gathers a region's textured quads and
// triangles per texture, is built once into buffer pairs and then drawn every frame.
#include "BasicVector.h"

#include <map>
#include <utility>
#include <vector>

// Whole-word test of the name against the GL extension string.
bool isExtensionSupported(const char* extension);

// Looks up the four buffer entry points; stops the program without the extension.
void initVBOExtension();

// One buffer pair, filled at construction and never changed.
class VBO {
public:
    unsigned int vertexBufferId;    // 3 floats a vertex
    unsigned int texCoordBufferId;  // 2 floats a vertex
    int nbVertices;                 // 4 per quad, 3 per triangle
    unsigned int textureId;
    bool isQuads;

    VBO(int nbVertices, unsigned int textureId, bool isQuads, const Float3* vertices, const Float2* texCoords);
    void draw();
};

struct VBOTextureGroup {
    std::vector<Float3> verticesQuadVect;  // 4 entries a quad
    std::vector<Float2> texCoordQuadVect;  // one per quad vertex
    std::vector<Float3> verticesTriVect;   // 3 entries a triangle
    std::vector<Float2> texCoordTriVect;   // one per triangle vertex
    bool drawLast = false;                 // built, and drawn, after every group without it
};

// Owned by one region; deleted when the region's cubes change, rebuilt at its next draw.
class VBOBatch {
public:
    std::map<int, VBOTextureGroup> groups;  // by texture name, ascending
    std::vector<VBO*> vbos;                 // owned, in build order = draw order
    int nbVertices;                         // set by build

    VBOBatch();
    ~VBOBatch();
    VBOBatch(const VBOBatch&) = delete;
    VBOBatch& operator=(const VBOBatch&) = delete;

    void addQuad(int textureId, const Float3 vertices[4], const Float2 texCoords[4]);
    void addTriangle(int textureId, const Float3 vertices[3], const Float2 texCoords[3]);
    VBOTextureGroup& group(int textureId);

    // Once, after all geometry: returns (buffer objects built, total vertices).
    std::pair<int, int> build();
    void draw();

private:
    void buildGroup(int textureId, VBOTextureGroup& group);
};
