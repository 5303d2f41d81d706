#include "EngineRun.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The screen is 1024 x 768 and the engine's window sits at its top-left corner (no window
// manager), so window pixels are screen pixels.
static bool isColor(const int rgb[3], int r, int g, int b) {
    return std::abs(rgb[0] - r) < 40 && std::abs(rgb[1] - g) < 40 && std::abs(rgb[2] - b) < 40;
}

TEST(LoadingScreen, LogoCentredAndLoadingText) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    engine.start();
    ASSERT_TRUE(engine.waitForOutput("================ Initialized, first draw ...\n")) << engine.errors();
    ASSERT_TRUE(engine.waitForWindow());
    EXPECT_NE(engine.output().find("Loading image 'default_font.png'\nLoading image 'logo.png'\n"
                                   "Freeing image 'logo.png'\n"),
              std::string::npos)
        << engine.output();

    Picture shot = engine.screenshot("loading");
    ASSERT_GT(shot.width, 0);
    int rgb[3];
    // The 64 x 32 logo centred on the 800 x 600 window: red left half, blue right half.
    shot.pixel(400 - 16, 300, rgb);
    EXPECT_TRUE(isColor(rgb, 255, 0, 0)) << rgb[0] << "," << rgb[1] << "," << rgb[2];
    shot.pixel(400 + 16, 300, rgb);
    EXPECT_TRUE(isColor(rgb, 0, 0, 255)) << rgb[0] << "," << rgb[1] << "," << rgb[2];
    shot.pixel(400 - 40, 300, rgb);
    EXPECT_TRUE(isColor(rgb, 0, 0, 0));
    // "Loading..." in white from (10, 10): some pixel of its first glyph is lit.
    bool textLit = false;
    for (int x = 10; x < 20 && !textLit; ++x) {
        shot.pixel(x, 18, rgb);
        textLit = rgb[0] > 128 && rgb[1] > 128 && rgb[2] > 128;
    }
    EXPECT_TRUE(textLit);

    engine.key("Escape");
    EXPECT_EQ(engine.waitForExit(), 0) << engine.errors();
    EXPECT_NE(engine.output().find("Freeing image 'default_font.png'\n"), std::string::npos);
}

TEST(LoadingScreen, MissingLogoIsAFatalReport) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    runCommand("rm " + engine.folder() + "/logo.png");
    engine.start();
    EXPECT_EQ(engine.waitForExit(), 1);
    EXPECT_NE(engine.errors().find("ERROR : The program aborted unexpectedly."), std::string::npos);
    EXPECT_NE(engine.errors().find("Message: loadImage: can't open 'logo.png'\n"), std::string::npos)
        << engine.errors();
}

TEST(StatisticsOverlay, ShownWhileOIsHeld) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    engine.start();
    ASSERT_TRUE(engine.waitForOutput("Initialized, first draw"));
    ASSERT_TRUE(engine.waitForWindow());
    // Rows below the font's first line: the overlay starts at y = 16 + 10.
    auto litRows = [&](const Picture& shot) {
        int lit = 0, rgb[3];
        for (int y = 26; y < 26 + 5 * 16; y += 4)
            for (int x = 10; x < 60; x += 2) {
                shot.pixel(x, y, rgb);
                if (rgb[0] > 200 && rgb[1] > 200 && rgb[2] > 200) ++lit;
            }
        return lit;
    };
    int before = litRows(engine.screenshot("before"));
    engine.keyDown("o");
    runCommand("sleep 0.3");
    int held = litRows(engine.screenshot("held"));
    engine.keyUp("o");
    EXPECT_EQ(before, 0);
    EXPECT_GT(held, 20);
    engine.key("Escape");
    EXPECT_EQ(engine.waitForExit(), 0);
}
