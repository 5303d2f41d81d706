#include "EngineRun.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

static const char* const startUpLines =
    "================ Initializing ...\n"
    "glutGet(GLUT_WINDOW_BUFFER_SIZE): ";

TEST(EngineStart, OpensWindowAndEscapeEndsWithZero) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    engine.start();
    ASSERT_TRUE(engine.waitForOutput("================ Initialized, first draw ...\n")) << engine.errors();
    ASSERT_TRUE(engine.waitForWindow());
    std::string geometry = runCommand("xdotool getwindowgeometry " + std::to_string(engine.windowId()));
    EXPECT_NE(geometry.find("Geometry: 800x600"), std::string::npos) << geometry;

    engine.key("Escape");
    EXPECT_EQ(engine.waitForExit(), 0) << engine.errors();

    const std::string out = engine.output();
    EXPECT_EQ(out.rfind(startUpLines, 0), 0u) << out;
    size_t reload = out.find("==== Reload script file\n");
    size_t reloaded = out.find("==== Script file reloaded\n");
    size_t initialized = out.find("================ Initialized, first draw ...\n");
    EXPECT_LT(reload, reloaded);
    EXPECT_LT(reloaded, initialized);
    EXPECT_EQ(engine.readFile("extensions.txt").rfind("supported:", 0), 0u);
    EXPECT_EQ(engine.errors(), "");
}

TEST(EngineStart, FullScreenOnBAndBackOnV) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    engine.start();
    ASSERT_TRUE(engine.waitForWindow());
    ASSERT_TRUE(engine.waitForOutput("Initialized, first draw"));

    engine.key("b");
    EXPECT_TRUE(engine.waitForOutput("Rescaling to (1024,768)\n", 10));
    engine.key("b");  // already full screen: nothing more
    engine.key("v");
    EXPECT_TRUE(engine.waitForOutput("Rescaling to (800,600)\n", 10));
    engine.key("v");  // already windowed: nothing more
    engine.key("Escape");
    EXPECT_EQ(engine.waitForExit(), 0);

    const std::string out = engine.output();
    size_t first = out.find("Rescaling to (");
    EXPECT_EQ(out.find("Rescaling to (", out.find("Rescaling to (", first + 1) + 1), std::string::npos) << out;
}

TEST(EngineStart, UnwritableExtensionsFileDoesNotStopIt) {
    EngineRun engine;
    writeStartupMedia(engine.folder());
    runCommand("mkdir " + engine.folder() + "/extensions.txt");  // cannot be opened as a file, even by root
    engine.start();
    ASSERT_TRUE(engine.waitForWindow());
    ASSERT_TRUE(engine.waitForOutput("Initialized, first draw"));
    engine.key("Escape");
    EXPECT_EQ(engine.waitForExit(), 0) << engine.errors();
}
