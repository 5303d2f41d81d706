#include "CaptureOutput.h"
#include "GLTestContext.h"
#include "Image.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

class SpriteTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        writePng("wide.png", 64, 32, false, std::vector<unsigned char>(64 * 32 * 3, 200));
        writePng("big.png", 256, 128, true, std::vector<unsigned char>(256 * 128 * 4, 200));
    }
    TempFolder folder;
};

TEST_F(SpriteTest, ImagesAreSharedAndFreedWithTheirLastSprite) {
    Sprite* first = spriteManager->addSprite("wide.png", 1);
    Sprite* second = spriteManager->addSprite("wide.png", 1);
    ASSERT_EQ(spriteManager->loadedImages.size(), 1u);
    EXPECT_EQ(spriteManager->loadedImages["wide.png"]->nbSpritesUsingThisImage, 2);
    EXPECT_EQ(first->images[0], second->images[0]);

    CaptureStdout keep;
    spriteManager->removeSprite(first);
    EXPECT_EQ(keep.take(), "");
    EXPECT_EQ(spriteManager->loadedImages["wide.png"]->nbSpritesUsingThisImage, 1);

    spriteManager->removeSprite(first);  // no longer known: ignored
    CaptureStdout free;
    spriteManager->removeSprite(second);
    EXPECT_EQ(free.take(), "Freeing image 'wide.png'\n");
    EXPECT_TRUE(spriteManager->loadedImages.empty());
    EXPECT_TRUE(spriteManager->sprites.empty());
}

TEST_F(SpriteTest, HotSpotAlignments) {
    const Int2 expected[] = {Int2(0, 0), Int2(32, 16), Int2(64, 32), Int2(0, 16), Int2(64, 16)};
    for (int alignment = 1; alignment <= 5; ++alignment) {
        Sprite* sprite = spriteManager->addSprite("wide.png", alignment);
        EXPECT_EQ(sprite->hotSpot, expected[alignment - 1]) << alignment;
        spriteManager->removeSprite(sprite);
    }
    for (int alignment : {0, 6}) {
        EXPECT_EXIT(spriteManager->addSprite("wide.png", alignment), testing::ExitedWithCode(1),
                    "Message: Sprite::Sprite : unknown value of hotSpotAlignment");
    }
}

TEST_F(SpriteTest, CornersAndFit) {
    Sprite* sprite = spriteManager->addSprite("wide.png", 1);
    sprite->position = Int2(100, 50);
    sprite->draw();
    EXPECT_EQ(sprite->corners[0], Int2(164, 82));
    EXPECT_EQ(sprite->corners[1], Int2(100, 82));
    EXPECT_EQ(sprite->corners[2], Int2(100, 50));
    EXPECT_EQ(sprite->corners[3], Int2(164, 50));
    spriteManager->removeSprite(sprite);

    Sprite* big = spriteManager->addSprite("big.png", 2);
    big->fitInto(Int2(640, 480));
    EXPECT_FLOAT_EQ(big->scaleX, 2.5f);
    EXPECT_FLOAT_EQ(big->scaleY, 2.5f);
    EXPECT_EQ(big->getSize(), Int2(640, 320));
    spriteManager->removeSprite(big);
}

TEST_F(SpriteTest, AnimationStepsByTimeAndLoops) {
    Sprite* one = spriteManager->addSprite("wide.png", 1);
    Image* image = one->images[0];
    Sprite animated(std::vector<Image*>{image, image, image}, 1);
    EXPECT_TRUE(animated.isAnimated);
    EXPECT_EQ(animated.lastFrame, 2);
    animated.loopFrame = 1;
    for (int expected : {1, 2, 1, 2}) {
        animated.lastFrameTime = -1000;  // the frame is long over
        animated.draw();
        EXPECT_EQ(animated.currentImage, expected);
    }
    animated.draw();  // drawn again at once: the frame lasts 100 ms
    EXPECT_EQ(animated.currentImage, 2);
    spriteManager->removeSprite(one);
}
