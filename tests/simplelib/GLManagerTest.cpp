#include "CaptureOutput.h"
#include "GLManager.h"
#include "GLTestContext.h"
#include "KeyboardManager.h"
#include "Scene2D.h"
#include "Scene3D.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

TEST(FrameCap, SleepsUntilTenMilliseconds) {
    struct Case {
        int64_t elapsed;
        int sleep;
    };
    const Case cases[] = {{3000, 7}, {9500, 1}, {9999, 1}, {10000, 0}, {12000, 0}, {0, 10}, {999, 10}};
    for (const Case& c : cases) EXPECT_EQ(frameCapSleepMs(c.elapsed), c.sleep) << c.elapsed;
}

class InputTest : public testing::Test {
protected:
    void SetUp() override {
        saved = keyboardManager;
        keyboardManager = &keyboard;
        mouseEvents.clear();
        mousePosition = Int2(0, 0);
        for (bool& b : mouseButtons) b = false;
    }
    void TearDown() override { keyboardManager = saved; }
    KeyboardManager keyboard;
    KeyboardManager* saved = nullptr;
};

TEST_F(InputTest, KeyCodes) {
    struct Case {
        bool special;
        int key;
        int code;
    };
    const Case cases[] = {
        {true, GLUT_KEY_PAGE_UP, 33},
        {true, GLUT_KEY_PAGE_DOWN, 34},
        {true, GLUT_KEY_F1, 256},
        {true, GLUT_KEY_F5, 260},
        {true, GLUT_KEY_F12, 267},
        {true, GLUT_KEY_LEFT, 29},
        {true, GLUT_KEY_UP, 30},
        {true, GLUT_KEY_RIGHT, 28},
        {true, GLUT_KEY_DOWN, 31},
        {false, '!', 33},
        {false, 27, 27},
        {false, 'A', 'A'},
        {false, 233, 233},
    };
    for (const Case& c : cases) {
        keyboard.keyEvents.clear();
        if (c.special)
            specialKeyDown(c.key, 0, 0);
        else
            keyDown(static_cast<unsigned char>(c.key), 0, 0);
        ASSERT_EQ(keyboard.keyEvents.size(), 1u) << c.key;
        EXPECT_EQ(keyboard.keyEvents[0], c.code) << c.key;
        EXPECT_TRUE(keyboard.keys[c.code]);
        if (c.special)
            specialKeyUp(c.key, 0, 0);
        else
            keyUp(static_cast<unsigned char>(c.key), 0, 0);
        EXPECT_FALSE(keyboard.keys[c.code]);
    }
}

TEST_F(InputTest, IgnoredSpecialKeysAndRepeats) {
    for (int key : {GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT, GLUT_KEY_SHIFT_L}) specialKeyDown(key, 0, 0);
    EXPECT_TRUE(keyboard.keyEvents.empty());
    keyDown('e', 0, 0);
    keyDown('e', 0, 0);
    EXPECT_EQ(keyboard.keyEvents, (std::vector<int>{'e', 'e'}));
}

TEST_F(InputTest, IsKeyPressedIgnoresCase) {
    keyboard.keys['A'] = true;
    EXPECT_TRUE(keyboard.isKeyPressed('a'));
    EXPECT_TRUE(keyboard.isKeyPressed('A'));
    EXPECT_FALSE(keyboard.isKeyPressed('b'));
    keyboard.keys[0xE9] = true;
    EXPECT_TRUE(keyboard.isKeyPressed('\xE9'));
}

TEST_F(InputTest, MouseEvents) {
    ensureGLContext();  // motion converts through the 2D scene
    mouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 6);
    EXPECT_TRUE(mouseButtons[0]);
    EXPECT_EQ(mousePosition, Int2(0, 0));  // clicks do not move the pointer position
    mouseMotion(7, 8);
    mouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 7, 8);
    mousePassiveMotion(9, 10);
    mouseButton(3, GLUT_DOWN, 9, 10);  // wheel notches arrive as buttons 3 and 4
    EXPECT_FALSE(mouseButtons[0]);
    EXPECT_EQ(mousePosition, Int2(9, 10));
    EXPECT_EQ(mouseScenePosition, Int2(9, 10));

    const int expected[5][4] = {{5, 6, 0, 0}, {7, 8, -1, 2}, {7, 8, 0, 1}, {9, 10, -1, 3}, {9, 10, 3, 0}};
    ASSERT_EQ(mouseEvents.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const MouseEvent& e = mouseEvents[i];
        EXPECT_EQ((std::vector<int>{e.x, e.y, e.button, e.state}), std::vector<int>(expected[i], expected[i] + 4)) << i;
    }
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override { ensureGLContext(); }
};

TEST_F(WindowTest, ReshapeUpdatesSizes) {
    CaptureStdout capture;
    reshape(400, 300);
    std::string out = capture.take();
    EXPECT_EQ(out, "Rescaling to (400,300)\n");
    EXPECT_EQ(screenSize, Int2(400, 300));
    EXPECT_EQ(scene2D->windowSize, Int2(400, 300));
    EXPECT_EQ(scene2D->sceneSize, Int2(400, 300));
    EXPECT_FLOAT_EQ(scene3D->aspect, 4.f / 3.f);
    int viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 400);

    scene2D->followWindow = false;
    CaptureStdout again;
    reshape(800, 600);
    again.take();
    EXPECT_EQ(scene2D->sceneSize, Int2(400, 300));  // stretched, not followed
    EXPECT_FLOAT_EQ(scene2D->sceneScale.x(), 0.5f);
    scene2D->followWindow = true;
    scene2D->sceneSize = Int2(800, 600);
    scene2D->apply2D();
}

TEST_F(WindowTest, FirstFrameReportsCappedPeriodThenFramesLastTenMs) {
    lastFrameEnd = 0;
    loopEvent();
    EXPECT_EQ(periodDuration, 200000);
    for (int i = 0; i < 3; ++i) {
        loopEvent();
        EXPECT_GE(periodDuration, 10000);
    }
    float color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(color[0], 1.f);
}

TEST_F(WindowTest, CurrentColorAndClear) {
    glColor4f(0.5f, 1.f, 0.f, 1.f);
    EXPECT_EQ(getCurrentColor(), Color(127, 255, 0, 255));
    glColor4f(1.f, 1.f, 1.f, 1.f);

    clearScreen(RED);
    glFinish();
    unsigned char pixel[4];
    glReadBuffer(GL_BACK);
    glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
}

TEST_F(WindowTest, ExtensionsFileListsTheContext) {
    std::ifstream in("extensions.txt");
    std::stringstream text;
    text << in.rdbuf();
    const std::string s = text.str();
    ASSERT_EQ(s.rfind("supported:", 0), 0u);
    EXPECT_EQ(s.substr(s.size() - 2), " :");
    EXPECT_NE(s.find("GL_ARB_vertex_buffer_object"), std::string::npos);
}
