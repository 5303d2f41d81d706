#include "CaptureOutput.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "GLTestContext.h"
#include "Image.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

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
