#include "Animated3DModel.h"
#include "CaptureOutput.h"
#include "GLTestContext.h"
#include "Image.h"
#include "ModelData.h"
#include "ObjModel.h"
#include "Scene2D.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

void write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

const char* const square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";

std::vector<uint32_t> vertices(const ModelTriangle& t) { return {t.vindices[0], t.vindices[1], t.vindices[2]}; }

class ModelTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        for (const char* name : {"a.png", "b.png", "tex.png"})
            writePng(name, 2, 2, false, std::vector<unsigned char>(12, 100));
    }
    TempFolder folder;
};

}  // namespace

TEST_F(ModelTest, FacesFansAndCornerForms) {
    write("m.obj", std::string(square) +
                       "v 2 2 2\nvt 0.25 0.75\nvn 0 0 1\nvn 0 1 0\n"
                       "f 1 2 3 4\nf 5/1/2 1/1/1 2/1/1\nf 5//2 3//1 4//2\nf 1/1 2/1 3/1\n");
    ModelData* m = glmReadOBJ("m.obj");
    ASSERT_EQ(m->numtriangles, 5u);
    EXPECT_EQ(vertices(m->triangles[0]), (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(vertices(m->triangles[1]), (std::vector<uint32_t>{1, 3, 4}));
    const ModelTriangle& full = m->triangles[2];
    EXPECT_EQ(full.vindices[0], 5u);
    EXPECT_EQ(full.tindices[0], 1u);
    EXPECT_EQ(full.nindices[0], 2u);
    const ModelTriangle& noTexture = m->triangles[3];
    EXPECT_EQ(noTexture.vindices[0], 5u);
    EXPECT_EQ(noTexture.tindices[0], 0u);
    EXPECT_EQ(noTexture.nindices[0], 2u);
    EXPECT_EQ(m->triangles[4].tindices[2], 1u);
    EXPECT_EQ(m->triangles[4].nindices[2], 0u);
    EXPECT_EQ(m->texcoords[1], Float2(0.25f, 0.25f));
    EXPECT_EQ(m->numvertices, 5u);
    EXPECT_EQ(m->numnormals, 2u);
    deleteModelData(m);
}

TEST_F(ModelTest, Groups) {
    write("g.obj", std::string(square) + "f 1 2 3\ng  top\nf 1 3 4\ng side\nf 2 3 4\ng  top\nf 4 3 2\n");
    ModelData* m = glmReadOBJ("g.obj");
    ASSERT_EQ(m->numgroups, 3u);
    EXPECT_EQ(m->groups->name, " side");  // the most recent first; the leading space stays
    EXPECT_EQ(m->groups->next->name, "  top");
    EXPECT_EQ(findGroup(m, "default")->triangles, (std::vector<uint32_t>{0}));
    EXPECT_EQ(findGroup(m, "  top")->triangles, (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(findGroup(m, " side")->numtriangles, 1u);
    deleteModelData(m);

    // A name longer than the reader's line buffer is cut, not overflowed.
    write("long.obj", std::string(square) + "g " + std::string(300, 'x') + "\nf 1 2 3\n");
    ModelData* cut = glmReadOBJ("long.obj");
    EXPECT_EQ(cut->groups->name.size(), 126u);
    deleteModelData(cut);
}

TEST_F(ModelTest, Materials) {
    write("m.mtl",
          "newmtl shiny\nNs 96\nKd 0.1 0.2 0.3\nmap_Kd a.png\nmap_Ka b.png\nmap_Kd a.png\n"
          "newmtl dull\nNs 96\nNi 1.5\nmap_Ka -s 2 2 1 tex.png\n"
          "newmtl plain\nKa 0.5 0.5 0.5\n");
    write("m.obj", std::string("mtllib m.mtl\n") + square + "usemtl dull\nf 1 2 3\ng two\nusemtl nothing\nf 1 3 4\n");
    CaptureStdout capture;
    ModelData* m = glmReadOBJ("m.obj");
    EXPECT_THAT(capture.take(), testing::HasSubstr("glmFindMaterial():  can't find material \"nothing\".\n"));
    ASSERT_EQ(m->nummaterials, 4u);
    EXPECT_EQ(m->materials[0].name, "default");
    const ModelMaterial& shiny = m->materials[1];
    EXPECT_FLOAT_EQ(shiny.shininess, 12.288f);
    EXPECT_FLOAT_EQ(shiny.diffuse[2], 0.3f);
    EXPECT_EQ(shiny.texture->images[0]->getFilename(), "b.png");  // map_Ka wins
    const ModelMaterial& dull = m->materials[2];
    EXPECT_FLOAT_EQ(dull.shininess, 0.192f);
    EXPECT_EQ(dull.texture->images[0]->getFilename(), "tex.png");
    EXPECT_EQ(std::vector<float>(dull.textureScale, dull.textureScale + 3), (std::vector<float>{2.f, 2.f, 1.f}));
    EXPECT_EQ(m->materials[3].texture, nullptr);
    EXPECT_FLOAT_EQ(m->materials[3].diffuse[0], 0.8f);
    EXPECT_EQ(findGroup(m, "default")->material, 2u);
    EXPECT_EQ(findGroup(m, " two")->material, 0u);
    const size_t sprites = spriteManager->sprites.size();
    deleteModelData(m);
    EXPECT_EQ(spriteManager->sprites.size(), sprites - 2);  // the material sprites go with the model
}

TEST_F(ModelTest, UsemtlWithoutLibraryTakesMaterialZero) {
    write("m.obj", std::string(square) + "usemtl red\nf 1 2 3\n");
    CaptureStdout capture;
    ModelData* m = glmReadOBJ("m.obj");
    EXPECT_EQ(capture.take(), "glmFindMaterial():  can't find material \"red\".\n");
    EXPECT_EQ(m->groups->material, 0u);
    deleteModelData(m);
}

TEST_F(ModelTest, VertexNormalsSplitAtNinetyDegrees) {
    // Two triangles facing +z, and between them one folded back along the edge 1-2 by more than
    // 90 degrees.
    write("fold.obj", "v 0 0 0\nv 1 0 0\nv 0.5 1 0\nv 0.5 0.5 -0.2\nv 0.5 -1 0\nf 1 2 3\nf 2 1 4\nf 1 5 2\n");
    ModelData* m = glmReadOBJ("fold.obj");
    computeFacetNormals(m);
    glmVertexNormals(m, 90.f);
    // Vertex 1 has three triangles: the last (flat, +z) is the reference; the first (+z) joins
    // it; the folded one keeps its own normal.
    const ModelTriangle& first = m->triangles[0];
    const ModelTriangle& folded = m->triangles[1];
    const ModelTriangle& flat = m->triangles[2];
    EXPECT_EQ(first.nindices[0], flat.nindices[0]);
    EXPECT_NE(folded.nindices[1], flat.nindices[0]);
    Float3 own = m->normals[folded.nindices[1]];
    Float3 facet = m->facetnorms[folded.findex];
    EXPECT_EQ(own, facet);
    for (uint32_t i = 1; i <= m->numnormals; ++i) EXPECT_FALSE(std::isnan(m->normals[i].x()));
    deleteModelData(m);

    write("flat.obj", "v 0 0 0\nv 1 0 0\nv 2 0 0\nf 1 2 2\n");  // zero area
    ModelData* degenerate = glmReadOBJ("flat.obj");
    computeFacetNormals(degenerate);
    glmVertexNormals(degenerate, 90.f);
    EXPECT_EQ(degenerate->facetnorms[1], Float3(0.f, 0.f, 0.f));
    deleteModelData(degenerate);
}

TEST_F(ModelTest, BrokenFilesStop) {
    struct Case {
        const char* what;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"index 0", std::string(square) + "f 0 1 2\n", "line 5: vertex index 0 is outside 1..4"},
        {"negative index", std::string(square) + "f -1 1 2\n", "vertex index -1 is outside 1..4"},
        {"index past the vertices", std::string(square) + "\nf 1 2 9\n", "line 6: vertex index 9 is outside 1..4"},
        {"texture index without vt", std::string(square) + "f 1/1 2/1 3/1\n",
         "texture coordinate index 1 is outside 1..0"},
        {"normal index past vn", std::string(square) + "vn 0 0 1\nf 1//2 2//1 3//1\n",
         "normal index 2 is outside 1..1"},
        {"two corners", std::string(square) + "f 1 2\n", "a face needs three corners"},
    };
    for (const Case& c : cases) {
        write("bad.obj", c.text);
        EXPECT_EXIT(glmReadOBJ("bad.obj"), testing::ExitedWithCode(1),
                    testing::HasSubstr(std::string("Message: OBJ file 'bad.obj' line ")))
            << c.what;
        EXPECT_EXIT(glmReadOBJ("bad.obj"), testing::ExitedWithCode(1), testing::HasSubstr(c.message)) << c.what;
    }
    EXPECT_EXIT(glmReadOBJ("missing.obj"), testing::ExitedWithCode(1),
                "Condition: file\nMessage: glmReadOBJ\\(\\) failed: can't open data file:missing.obj\n");
    ASSERT_EQ(std::system("mkdir -p sub"), 0);
    write("sub/m.obj", "mtllib none.mtl\n");
    EXPECT_EXIT(glmReadOBJ("sub/m.obj"), testing::ExitedWithCode(1),
                "Message: glmReadMTL\\(\\) failed: can't open material file \"sub/none.mtl\".\n");
    // An unknown v token says so on standard output and ends the program.
    // The dying child runs in a folder of its own: its output goes to a fixed place.
    const char* const printedPath = "/tmp/cubist-unknown-token.txt";
    write("bad.obj", "vx 1 2 3\n");
    EXPECT_EXIT(
        {
            if (!std::freopen(printedPath, "w", stdout)) std::exit(2);
            glmReadOBJ("bad.obj");
        },
        testing::ExitedWithCode(1), "");
    std::ifstream out(printedPath);
    std::string printed((std::istreambuf_iterator<char>(out)), std::istreambuf_iterator<char>());
    EXPECT_EQ(printed, "glmFirstPass(): Unknown token \"vx\".\n");
    std::remove(printedPath);
}

TEST_F(ModelTest, CacheSharesOneLoadPerFile) {
    write("c.obj", std::string(square) + "f 1 2 3\n");
    CaptureStdout load;
    ObjModel* first = new ObjModel("c.obj", 1.f, 0.f);
    ObjModel* second = new ObjModel("c.obj", 1.f, 0.f);
    EXPECT_EQ(load.take(),
              "Loading model 'c.obj' ... \n"
              "glmDraw() warning: texture render mode requested with no texture coordinates defined.\n"
              "glmDraw() warning: material render mode requested with no materials defined.\n"
              "...loading model done\n"
              "Getting model 'c.obj'\n");
    EXPECT_EQ(first->cacheIndex, second->cacheIndex);
    const uint32_t index = first->cacheIndex;
    EXPECT_TRUE(glIsList(modelCache[index].displayList));
    EXPECT_EQ(modelCache[index].nbUses, 2);

    CaptureStdout release;
    delete first;
    delete second;
    EXPECT_EQ(release.take(), "Ungetting model 'c.obj'\nUnloading model c.obj ...\n... unloading model done\n");
    EXPECT_EQ(modelCache[index].filename, "");

    CaptureStdout again;
    ObjModel reloaded("c.obj", 1.f, 0.f);
    again.take();
    EXPECT_EQ(reloaded.cacheIndex, modelCache.size() - 1);
    EXPECT_GT(reloaded.cacheIndex, index);
}

TEST_F(ModelTest, AnimationSteps) {
    for (const char* name : {"a.obj", "b.obj", "c.obj", "d.obj", "e.obj"})
        write(name, std::string(square) + "f 1 2 3\n");
    CaptureStdout quiet;
    Animated3DModel model({"a.obj", "b.obj", "c.obj"}, 1.f);
    auto step = [&] {
        model.nextFrameTime = 0;  // the period is over
        model.draw();
        return model.currentFrame;
    };
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) frames.push_back(step());
    EXPECT_EQ(frames, (std::vector<int>{2, 1, 0, 2}));

    model.isForward = true;
    model.currentFrame = 0;
    frames.clear();
    for (int i = 0; i < 3; ++i) frames.push_back(step());
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0}));

    model.draw();  // the period of 500 ms is not over: no step
    EXPECT_EQ(model.currentFrame, 0);
    model.isPlaying = false;
    EXPECT_EQ(step(), 0);

    Animated3DModel five({"a.obj", "b.obj", "c.obj", "d.obj", "e.obj"}, 1.f);
    five.setFrameRange(3, 4);
    EXPECT_EQ(five.currentFrame, 3);
    EXPECT_EXIT(five.setFrameRange(2, 2), testing::ExitedWithCode(1),
                "Condition: idFrameMin < idFrameMax && idFrameMin >= 0\n");
    EXPECT_EXIT(five.setFrameRange(0, 5), testing::ExitedWithCode(1), "Condition: idFrameMax < frames.size\\(\\)\n");
    quiet.take();
}

TEST(ModelCollision, SegmentAgainstTriangle) {
    const Float3 v[3] = {Float3(0.f, 0.f, 0.f), Float3(2000.f, 0.f, 0.f), Float3(0.f, 2000.f, 0.f)};
    const Float3 n(0.f, 0.f, 1.f);
    Float3 contact;
    struct Case {
        Float3 a, b;
        bool hit;
    };
    const Case cases[] = {
        {Float3(100.f, 100.f, 10.f), Float3(100.f, 100.f, -10.f), true},     // crosses
        {Float3(100.f, 100.f, 10.f), Float3(100.f, 100.f, 5.f), false},      // stays above
        {Float3(100.f, 100.f, 10.f), Float3(100.f, 100.f, 0.5f), true},      // ends within a unit
        {Float3(1900.f, 1900.f, 1.f), Float3(1900.f, 1900.f, -1.f), false},  // outside the edge
        {Float3(0.f, 0.f, 0.f), Float3(10.f, 10.f, 0.f), false},             // parallel, in the plane
    };
    for (const Case& c : cases) {
        EXPECT_EQ(segmentHitsTriangle(c.a, c.b, v, n, contact), c.hit);
    }
    segmentHitsTriangle(cases[0].a, cases[0].b, v, n, contact);
    EXPECT_NEAR(contact.z(), 0.f, 1e-4);
}

TEST_F(ModelTest, DrawnWithItsMaterialTexture) {
    std::vector<unsigned char> red(4 * 4 * 3, 0);
    for (size_t i = 0; i < red.size(); i += 3) red[i] = 255;
    writePng("red.png", 4, 4, false, red);
    write("q.mtl", "newmtl paint\nmap_Kd red.png\n");
    write("q.obj",
          "mtllib q.mtl\nv -0.5 -0.5 0\nv 0.5 -0.5 0\nv 0.5 0.5 0\nv -0.5 0.5 0\n"
          "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl paint\nf 1/1 2/2 3/3 4/4\n");
    CaptureStdout quiet;
    ObjModel model("q.obj", 1.f, 0.f);
    quiet.take();

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_POLYGON_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor3f(1.f, 1.f, 1.f);
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
    model.draw();
    glFinish();
    unsigned char centre[4], corner[4];
    glReadBuffer(GL_BACK);
    glReadPixels(400, 300, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(centre[1], 0);
    EXPECT_EQ(corner[0], 0);  // the quad covers only the middle of the window
    glEnable(GL_CULL_FACE);
    glEnable(GL_POLYGON_SMOOTH);
    scene2D->apply2D();
}
