#include "GLTestContext.h"
#include "Helpers.h"
#include "VBO.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

TEST(ExtensionList, WholeWordsOnly) {
    struct Case {
        const char* name;
        const char* list;
        bool expected;
    };
    const Case cases[] = {
        {"GL_ARB_vbo", "GL_ARB_vbo_extra GL_EXT_x GL_ARB_vbo", true},  // longer suffix first, then whole
        {"GL_ARB_vbo", "XGL_ARB_vbo GL_EXT_x", false},                 // preceded by a letter
        {"GL_ARB_vbo", "GL_ARB_vbo_extra", false},
        {"GL_ARB_vbo", "GL_ARB_vbo", true},  // the whole string
        {"GL_ARB_vbo", "GL_EXT_x GL_ARB_vbo GL_EXT_y", true},
        {"GL_ARB vbo", "GL_ARB vbo", false},  // names never contain a space
        {"GL_ARB_vbo", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(isExtensionInList(c.name, c.list), c.expected) << c.name << " in " << c.list;
}

class VBOBatchTest : public testing::Test {
protected:
    void SetUp() override { ensureGLContext(); }

    static void addQuad(VBOBatch& batch, int texture, float z = 0.f) {
        const Float3 v[4] = {Float3(0.f, 0.f, z), Float3(1.f, 0.f, z), Float3(1.f, 1.f, z), Float3(0.f, 1.f, z)};
        const Float2 t[4] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(1.f, 1.f), Float2(0.f, 1.f)};
        batch.addQuad(texture, v, t);
    }
    static void addTriangle(VBOBatch& batch, int texture) {
        const Float3 v[3] = {Float3(0.f, 0.f, 0.f), Float3(1.f, 0.f, 0.f), Float3(0.f, 1.f, 0.f)};
        const Float2 t[3] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(0.f, 1.f)};
        batch.addTriangle(texture, v, t);
    }
    static std::vector<unsigned int> textureOrder(const VBOBatch& batch) {
        std::vector<unsigned int> order;
        for (const VBO* vbo : batch.vbos) order.push_back(vbo->textureId);
        return order;
    }
};

TEST_F(VBOBatchTest, BuildCounts) {
    VBOBatch empty;
    EXPECT_EQ(empty.build(), std::make_pair(0, 0));
    empty.draw();

    VBOBatch batch;
    addQuad(batch, 3);
    addQuad(batch, 3);
    addTriangle(batch, 3);
    batch.group(8).drawLast = true;  // flagged only: yields no buffer
    addQuad(batch, 4);
    EXPECT_EQ(batch.build(), std::make_pair(3, 15));
    EXPECT_EQ(batch.nbVertices, 15);
    ASSERT_EQ(batch.vbos.size(), 3u);
    EXPECT_TRUE(batch.vbos[0]->isQuads);  // a texture's quads come before its triangles
    EXPECT_EQ(batch.vbos[0]->nbVertices, 8);
    EXPECT_FALSE(batch.vbos[1]->isQuads);
    EXPECT_EQ(batch.vbos[1]->nbVertices, 3);
    EXPECT_EQ(textureOrder(batch), (std::vector<unsigned int>{3, 3, 4}));
    batch.draw();
}

TEST_F(VBOBatchTest, DrawLastGroupsComeAfterTheOthers) {
    struct Case {
        int drawLastTexture;
        std::vector<unsigned int> order;
    };
    const Case cases[] = {{9, {2, 5, 9}}, {2, {5, 9, 2}}};
    for (const Case& c : cases) {
        VBOBatch batch;
        for (int texture : {5, 2, 9}) addQuad(batch, texture);
        batch.group(c.drawLastTexture).drawLast = true;
        batch.build();
        EXPECT_EQ(textureOrder(batch), c.order);
    }
}

TEST_F(VBOBatchTest, BufferContentsMatchTheGeometry) {
    VBOBatch batch;
    addQuad(batch, 1, 7.f);
    addQuad(batch, 1, -2.f);
    batch.build();
    const VBO* vbo = batch.vbos.at(0);

    std::vector<float> positions(8 * 3), texCoords(8 * 2);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vbo->vertexBufferId);
    glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, positions.size() * 4, positions.data());
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, vbo->texCoordBufferId);
    glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, texCoords.size() * 4, texCoords.data());

    const std::vector<Float3>& v = batch.groups[1].verticesQuadVect;
    const std::vector<Float2>& t = batch.groups[1].texCoordQuadVect;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Float3(positions[i * 3], positions[i * 3 + 1], positions[i * 3 + 2]), v[i]) << i;
        EXPECT_EQ(Float2(texCoords[i * 2], texCoords[i * 2 + 1]), t[i]) << i;
    }
    EXPECT_EQ(positions[2], 7.f);
    EXPECT_EQ(positions[4 * 3 + 2], -2.f);
}

TEST_F(VBOBatchTest, DestroyReleasesBuffers) {
    unsigned int names[2];
    {
        VBOBatch batch;
        addTriangle(batch, 1);
        batch.build();
        names[0] = batch.vbos[0]->vertexBufferId;
        names[1] = batch.vbos[0]->texCoordBufferId;
        EXPECT_TRUE(glIsBufferARB(names[0]));
    }
    EXPECT_FALSE(glIsBufferARB(names[0]));
    EXPECT_FALSE(glIsBufferARB(names[1]));
}

TEST_F(VBOBatchTest, MismatchedListsStop) {
    VBOBatch quads;
    quads.group(1).verticesQuadVect.push_back(Float3(0.f, 0.f, 0.f));
    EXPECT_EXIT(quads.build(), testing::ExitedWithCode(1),
                "Condition: verticesQuadVect.size\\(\\) == texCoordQuadVect.size\\(\\)");
    VBOBatch triangles;
    triangles.group(1).texCoordTriVect.push_back(Float2(0.f, 0.f));
    EXPECT_EXIT(triangles.build(), testing::ExitedWithCode(1),
                "Condition: verticesTriVect.size\\(\\) == texCoordTriVect.size\\(\\)");
}
