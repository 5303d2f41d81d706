#include "VBO.h"
#include "ErrorReport.h"
#include "Helpers.h"
#include "platform/Platform.h"

#include <GL/glew.h>

#include <cstring>
#include <new>

bool isExtensionSupported(const char* extension) {
    return isExtensionInList(extension, reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)));
}

void initVBOExtension() {
    ASSERT(isExtensionSupported("GL_ARB_vertex_buffer_object"));
    __glewGenBuffersARB = reinterpret_cast<PFNGLGENBUFFERSARBPROC>(platform::getGLProcAddress("glGenBuffersARB"));
    __glewBindBufferARB = reinterpret_cast<PFNGLBINDBUFFERARBPROC>(platform::getGLProcAddress("glBindBufferARB"));
    __glewBufferDataARB = reinterpret_cast<PFNGLBUFFERDATAARBPROC>(platform::getGLProcAddress("glBufferDataARB"));
    __glewDeleteBuffersARB =
        reinterpret_cast<PFNGLDELETEBUFFERSARBPROC>(platform::getGLProcAddress("glDeleteBuffersARB"));
}

VBO::VBO(int nbVertices_, unsigned int textureId_, bool isQuads_, const Float3* vertices, const Float2* texCoords)
    : vertexBufferId(0), texCoordBufferId(0), nbVertices(nbVertices_), textureId(textureId_), isQuads(isQuads_) {
    static_assert(sizeof(Float3) == 12 && sizeof(Float2) == 8, "vertex data must be tightly packed");
    glGenBuffersARB(1, &vertexBufferId);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBufferId);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, nbVertices * 12, vertices, GL_STATIC_DRAW_ARB);
    glGenBuffersARB(1, &texCoordBufferId);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, texCoordBufferId);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, nbVertices * 8, texCoords, GL_STATIC_DRAW_ARB);
}

void VBO::draw() {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBufferId);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, texCoordBufferId);
    glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glDrawArrays(isQuads ? GL_QUADS : GL_TRIANGLES, 0, nbVertices);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

VBOBatch::VBOBatch() : nbVertices(0) {}

VBOBatch::~VBOBatch() {
    for (VBO* vbo : vbos) {
        if (!vbo) continue;
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, vbo->vertexBufferId);
        glDeleteBuffersARB(1, &vbo->vertexBufferId);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, vbo->texCoordBufferId);
        glDeleteBuffersARB(1, &vbo->texCoordBufferId);
        delete vbo;
    }
    vbos.clear();
}

void VBOBatch::addQuad(int textureId, const Float3 vertices[4], const Float2 texCoords[4]) {
    VBOTextureGroup& g = groups[textureId];
    g.verticesQuadVect.insert(g.verticesQuadVect.end(), vertices, vertices + 4);
    g.texCoordQuadVect.insert(g.texCoordQuadVect.end(), texCoords, texCoords + 4);
}

void VBOBatch::addTriangle(int textureId, const Float3 vertices[3], const Float2 texCoords[3]) {
    VBOTextureGroup& g = groups[textureId];
    g.verticesTriVect.insert(g.verticesTriVect.end(), vertices, vertices + 3);
    g.texCoordTriVect.insert(g.texCoordTriVect.end(), texCoords, texCoords + 3);
}

VBOTextureGroup& VBOBatch::group(int textureId) { return groups[textureId]; }

std::pair<int, int> VBOBatch::build() {
    int total = 0;
    for (bool lastPass : {false, true}) {
        for (auto& entry : groups) {
            VBOTextureGroup& g = entry.second;
            if (g.drawLast != lastPass) continue;
            buildGroup(entry.first, g);
            total += static_cast<int>(g.verticesQuadVect.size() + g.verticesTriVect.size());
        }
    }
    nbVertices = total;
    return std::make_pair(static_cast<int>(vbos.size()), total);
}

void VBOBatch::buildGroup(int textureId, VBOTextureGroup& g) {
    unsigned int texture = static_cast<unsigned int>(textureId);
    std::vector<Float3>& verticesQuadVect = g.verticesQuadVect;
    std::vector<Float2>& texCoordQuadVect = g.texCoordQuadVect;
    std::vector<Float3>& verticesTriVect = g.verticesTriVect;
    std::vector<Float2>& texCoordTriVect = g.texCoordTriVect;

    ASSERT(verticesQuadVect.size() == texCoordQuadVect.size());
    if (!verticesQuadVect.empty()) {
        VBO* vbo = new (std::nothrow) VBO(static_cast<int>(verticesQuadVect.size()), texture, true,
                                          verticesQuadVect.data(), texCoordQuadVect.data());
        ASSERT(vbo != NULL);
        vbos.push_back(vbo);
    }
    ASSERT(verticesTriVect.size() == texCoordTriVect.size());
    if (!verticesTriVect.empty()) {
        VBO* vbo = new (std::nothrow) VBO(static_cast<int>(verticesTriVect.size()), texture, false,
                                          verticesTriVect.data(), texCoordTriVect.data());
        ASSERT(vbo != NULL);
        vbos.push_back(vbo);
    }
}

void VBOBatch::draw() {
    for (auto it = vbos.begin(); it != vbos.end(); ++it) {
        ASSERT((*it) != NULL);
        (*it)->draw();
    }
}
