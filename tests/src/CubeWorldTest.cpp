#include "CaptureOutput.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "GLTestContext.h"
#include "Image.h"
#include "Region.h"
#include "Scene3D.h"
#include "VBO.h"
#include "WorldIndexator.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// A game folder with the shadow texture and face pictures, and a list of cube types.
class CubeWorldTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        ASSERT_EQ(std::system("mkdir -p cube_textures cube_shadowed_textures"), 0);
        const std::vector<unsigned char> pixels(4 * 4 * 4, 128);
        writePng("black_semi_transparent.png", 4, 4, true, pixels);
        for (const char* name : {"grass.png", "rock.png"}) {
            writePng(std::string("cube_textures/") + name, 4, 4, true, pixels);
            writePng(std::string("cube_shadowed_textures/") + name, 4, 4, true, pixels);
        }
        cubeTypeManager = &types;
        types.push_back(makeType("grass.png", true));
        types.push_back(makeType("rock.png", false));
    }
    void TearDown() override {
        CaptureStdout quiet;
        for (CubeType* type : types) delete type;
        cubeTypeManager = nullptr;
    }
    static CubeType* makeType(const std::string& face, bool collidable) {
        const std::string names[6] = {face, face, face, face, face, "rock.png"};
        const bool repeat[3] = {true, false, true};
        CaptureStdout quiet;
        return new CubeType(names, repeat, collidable);
    }
    TempFolder folder;
    std::vector<CubeType*> types;
};

}  // namespace

TEST_F(CubeWorldTest, FaceTexturesLoadOnDemandAndFreeOnce) {
    CubeType* grass = types[0];
    EXPECT_EQ(grass->textureFace[0], nullptr);
    EXPECT_NE(grass->textureShadow, nullptr);
    const size_t before = spriteManager->sprites.size();
    CaptureStdout load;
    grass->loadTextures();
    grass->loadTextures();  // already loaded
    load.take();
    EXPECT_EQ(spriteManager->sprites.size(), before + 12);
    EXPECT_EQ(grass->textureFace[0]->images[0]->getFilename(), "cube_textures/grass.png");
    EXPECT_EQ(grass->textureFaceShadowed[5]->images[0]->getFilename(), "cube_shadowed_textures/rock.png");
    // Five faces share one picture.
    EXPECT_EQ(spriteManager->loadedImages["cube_textures/grass.png"]->nbSpritesUsingThisImage, 5);

    CaptureStdout free;
    grass->freeTextures();
    std::string out = free.take();
    EXPECT_EQ(out.rfind("Free unused texture for CubeType ...\n", 0), 0u) << out;
    EXPECT_NE(out.find(" ... free unused texture done\n"), std::string::npos);
    EXPECT_EQ(out.find("Freeing image 'cube_textures/grass.png'"),
              out.rfind("Freeing image 'cube_textures/grass.png'"));  // released once
    EXPECT_EQ(spriteManager->sprites.size(), before);

    CaptureStdout nothing;
    grass->freeTextures();
    EXPECT_EQ(nothing.take(), "");
}

TEST_F(CubeWorldTest, ModifyReplacesNamesAndKeepsTheShadow) {
    CubeType* grass = types[0];
    Sprite* shadow = grass->textureShadow;
    CaptureStdout quiet;
    grass->loadTextures();
    const std::string names[6] = {"rock.png", "rock.png", "rock.png", "rock.png", "rock.png", "rock.png"};
    const bool repeat[3] = {false, true, false};
    grass->modify(names, repeat, false);
    quiet.take();
    EXPECT_EQ(grass->textureFace[0], nullptr);
    EXPECT_EQ(grass->faceTextureNames[0], "rock.png");
    EXPECT_FALSE(grass->isCollidable);
    EXPECT_TRUE(grass->textureRepeat[1]);
    EXPECT_EQ(grass->textureShadow, shadow);
}

TEST_F(CubeWorldTest, PointTest) {
    const CubeZone zone(Float3(5.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 0);
    struct Case {
        Float3 point;
        bool inside;
    };
    const Case cases[] = {
        {Float3(0.f, 0.f, 0.f), true},       {Float3(10.f, 10.f, 10.f), true},    {Float3(5.f, 10.f, 0.f), true},
        {Float3(-0.0001f, 5.f, 5.f), false}, {Float3(5.f, 10.0001f, 5.f), false},
    };
    for (const Case& c : cases) EXPECT_EQ(zone.isInside(c.point), c.inside) << c.point;

    types[1]->isUsed = false;
    const CubeZone ghost(Float3(5.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 1);  // not collidable
    EXPECT_FALSE(ghost.isInside(Float3(5.f, 5.f, 5.f)));
    EXPECT_TRUE(types[1]->isUsed);
    const CubeZone orphan(Float3(5.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 7);  // no such type
    EXPECT_FALSE(orphan.isInside(Float3(5.f, 5.f, 5.f)));
    const CubeZone broken(Float3(0.f, 0.f, 0.f), Float3(1.f, 1.f, 1.f), -1);
    EXPECT_EXIT(broken.isInside(Float3(0.f, 0.f, 0.f)), testing::ExitedWithCode(1), "Condition: id >= 0");
}

TEST_F(CubeWorldTest, SegmentWalk) {
    const CubeZone zone(Float3(50.f, 0.f, 0.f), Float3(10.f, 10.f, 10.f), 0);
    Float3 hit;
    EXPECT_TRUE(zone.segmentHit(Float3(0.f, 0.f, 0.f), Float3(100.f, 0.f, 0.f), hit));
    EXPECT_EQ(hit, Float3(45.f, 0.f, 0.f));
    EXPECT_FALSE(zone.segmentHit(Float3(100.f, 0.f, 0.f), Float3(0.f, 0.f, 0.f), hit));   // toward -x
    EXPECT_FALSE(zone.segmentHit(Float3(50.f, 0.f, 0.f), Float3(50.f, 10.f, 0.f), hit));  // inside, same x
    EXPECT_TRUE(zone.segmentHit(Float3(50.f, 0.f, 0.f), Float3(51.f, 0.f, 0.f), hit));
    EXPECT_EQ(hit, Float3(50.f, 0.f, 0.f));                                                  // the start itself
    EXPECT_FALSE(zone.segmentHit(Float3(0.f, 0.f, 0.f), Float3(40.f, 0.f, 0.f), hit));       // ends before the box
    EXPECT_FALSE(zone.segmentHit(Float3(0.f, 100.f, 0.f), Float3(1e30f, 100.f, 0.f), hit));  // misses, still ends
    const CubeZone fresh(Float3(1.f, 2.f, 3.f), Float3(10.f, 10.f, 10.f), 1);
    EXPECT_EQ(fresh.reserved, 0);
    for (int face = 0; face < 6; ++face) {
        EXPECT_FALSE(fresh.faceShadowed[face]);
        EXPECT_TRUE(fresh.shadowTriangles[face].empty());
    }
}

namespace {

class RegionTableTest : public CubeWorldTest {
protected:
    void SetUp() override {
        CubeWorldTest::SetUp();
        table = new WorldIndexator(320.f);
    }
    void TearDown() override {
        delete table;
        CubeWorldTest::TearDown();
    }
    void addZone(const Float3& center, int id = 0) {
        Int3 index;
        ASSERT_TRUE(table->findRegionForBox(center, Float3(10.f, 10.f, 10.f), index));
        table->getRegion(index)->zones.push_back(CubeZone(center, Float3(10.f, 10.f, 10.f), id));
    }
    void addObject(const Float3& position) {
        Int3 index;
        ASSERT_TRUE(table->findRegionForBox(position, Float3(0.f, 0.f, 0.f), index));
        table->getRegion(index)->objects.push_back(CustomObject{position, 0});
    }
    WorldIndexator* table = nullptr;
};

}  // namespace

TEST_F(RegionTableTest, IndexArithmetic) {
    EXPECT_EQ(table->regionIndexOf(Float3(0.f, 0.f, 0.f)), Int3(1, 1, 1));
    EXPECT_EQ(table->regionIndexOf(Float3(-0.5f, 10.f, 319.99f)), Int3(0, 1, 1));
    EXPECT_EQ(table->regionIndexOf(Float3(320.f, 0.f, 0.f)), Int3(2, 1, 1));
    EXPECT_FALSE(table->isIndexInTableRegion(Int3(2, 1, 1)));
    // Far and broken coordinates give an index outside every table, never undefined behaviour.
    EXPECT_FALSE(table->isIndexInTableRegion(table->regionIndexOf(Float3(1e30f, 0.f, 0.f))));
    EXPECT_FALSE(table->isIndexInTableRegion(table->regionIndexOf(Float3(std::nanf(""), 0.f, 0.f))));
}

TEST_F(RegionTableTest, GrowsInEveryDirection) {
    addObject(Float3(700.f, 0.f, 0.f));
    EXPECT_EQ(table->tableRegionSize, Int3(4, 2, 2));
    EXPECT_EQ(table->minIndex, Int3(-1, -1, -1));
    Region* far = table->getRegion(table->regionIndexOf(Float3(700.f, 0.f, 0.f)));
    addObject(Float3(-700.f, 0.f, 0.f));
    EXPECT_EQ(table->tableRegionSize, Int3(6, 2, 2));
    EXPECT_EQ(table->minIndex, Int3(-3, -1, -1));
    EXPECT_EQ(table->getRegion(Int3(5, 1, 1)), far);  // moved two slots up in x
    EXPECT_EQ(far->objects.size(), 1u);
    EXPECT_EXIT(addObject(Float3(3e8f, 0.f, 0.f)), testing::ExitedWithCode(1), "would exceed the limit");
    EXPECT_EXIT(addObject(Float3(std::nanf(""), 0.f, 0.f)), testing::ExitedWithCode(1), "not a finite number");
}

TEST_F(RegionTableTest, BoxesAtRegionBorders) {
    struct Case {
        float x;
        bool accepted;
        int region;  // absolute x index
    };
    const Case cases[] = {{315.f, true, 0}, {315.005f, true, 0}, {320.f, false, 0}, {-5.f, true, -1}};
    for (const Case& c : cases) {
        Int3 index;
        bool ok = table->findRegionForBox(Float3(c.x, 5.f, 5.f), Float3(10.f, 10.f, 10.f), index);
        EXPECT_EQ(ok, c.accepted) << c.x;
        if (ok) {
            EXPECT_EQ(index.x() + table->minIndex.x(), c.region) << c.x;
        }
    }
}

TEST_F(RegionTableTest, PointQueryAndEditing) {
    addZone(Float3(5.f, 5.f, 5.f));
    EXPECT_TRUE(table->isPointInside(Float3(1.f, 1.f, 1.f)));
    EXPECT_FALSE(table->isPointInside(Float3(5000.f, 5.f, 5.f)));
    EXPECT_EQ(table->tableRegionSize, Int3(2, 2, 2));  // a query never grows the table

    // Nearest: distances 5, 3 and 3 from p; the later of the two nearest goes.
    Region* region = table->getRegion(table->regionIndexOf(Float3(100.f, 100.f, 100.f)));
    region->zones.clear();
    for (float x : {105.f, 103.f, 97.f})
        region->zones.push_back(CubeZone(Float3(x, 100.f, 100.f), Float3(1.f, 1.f, 1.f), 0));
    EXPECT_TRUE(table->removeNearest(Float3(100.f, 100.f, 100.f)));
    ASSERT_EQ(region->zones.size(), 2u);
    EXPECT_EQ(region->zones[1].center.x(), 103.f);

    EXPECT_TRUE(table->removeAtPoint(Float3(103.f, 100.f, 100.f)));
    EXPECT_FALSE(table->removeAtPoint(Float3(104.f, 100.f, 100.f)));
    table->clearRegionAt(Float3(100.f, 100.f, 100.f));
    EXPECT_TRUE(region->zones.empty());
}

TEST_F(RegionTableTest, RemoveUnusedRegionsKeepsTheBlockAroundTheOrigin) {
    table->removeUnusedRegions();
    EXPECT_EQ(table->tableRegionSize, Int3(2, 2, 2));
    addZone(Float3(5.f * 320.f + 5.f, 5.f, 5.f));
    table->removeUnusedRegions();
    EXPECT_EQ(table->minIndex, Int3(-1, -1, -1));
    EXPECT_EQ(table->tableRegionSize, Int3(7, 2, 2));
    table->resetTable();
    addZone(Float3(5.f, 5.f, 3.f * 320.f + 5.f));
    addZone(Float3(5.f, 5.f, 9.f * 320.f + 5.f));
    table->clearRegionAt(Float3(5.f, 5.f, 9.f * 320.f + 5.f));
    table->removeUnusedRegions();
    EXPECT_EQ(table->tableRegionSize, Int3(2, 2, 5));
}

TEST_F(RegionTableTest, SwapFromBelowTheTable) {
    addZone(Float3(-315.f, 5.f, 5.f));                                   // absolute region -1
    table->swapRegionContents(Float3(-325.f, 5.f, 5.f), Int3(1, 0, 0));  // region -2 with -1
    EXPECT_EQ(table->minIndex.x(), -2);
    Region* low = table->getRegion(table->regionIndexOf(Float3(-325.f, 5.f, 5.f)));
    ASSERT_EQ(low->zones.size(), 1u);
    EXPECT_EQ(low->zones[0].center, Float3(-635.f, 5.f, 5.f));  // moved one region down
}

TEST_F(RegionTableTest, UpdateDropsTheBatchesOfRegionsLeftBehind) {
    scene3D->camera.position() = Float3(0.f, 0.f, 0.f);
    table->viewDistance = 0.f;
    Region* near = table->getRegion(table->regionIndexOf(Float3(0.f, 0.f, 0.f)));
    Region* far = table->getRegion(table->regionIndexOf(Float3(-10.f, -10.f, -10.f)));
    for (Region* region : {near, far}) {
        region->batch = new VBOBatch;
        const Float3 v[3] = {Float3(0.f, 0.f, 0.f), Float3(1.f, 0.f, 0.f), Float3(0.f, 1.f, 0.f)};
        const Float2 t[3] = {Float2(0.f, 0.f), Float2(1.f, 0.f), Float2(0.f, 1.f)};
        region->batch->addTriangle(1, v, t);
        region->batch->build();
    }
    CaptureStdout out;
    table->updateRegions();
    EXPECT_EQ(out.take(), "Removed 1 regions\n");
    EXPECT_NE(near->batch, nullptr);
    EXPECT_EQ(far->batch, nullptr);
}
