#include "EditText.h"
#include "Font.h"
#include "GLTestContext.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

class EditTextTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        writeFontStrip("default_font.png", 16, 1, 1, [](int) { return 2; });
        font = new Font();
    }
    void TearDown() override { delete font; }
    TempFolder folder;
    Font* font = nullptr;
};

TEST_F(EditTextTest, Keys) {
    struct Case {
        const char* what;
        std::string text;
        int cursor;
        std::vector<int> keys;
        std::string expectedText;
        int expectedCursor;
    };
    const Case cases[] = {
        {"typing inserts at the cursor", "ac", 1, {'b'}, "abc", 2},
        {"backspace", "abc", 2, {8}, "ac", 1},
        {"backspace at 0", "abc", 0, {8}, "abc", 0},
        {"delete", "abc", 1, {127}, "ac", 1},
        {"delete at the end", "abc", 3, {127}, "abc", 3},
        {"left and right stop at the ends", "ab", 1, {29, 29, 28, 28, 28}, "ab", 2},
        {"11 goes home", "abc", 3, {11, 'x'}, "xabc", 1},
        {"space and line end are typed", "", 0, {' ', '\n'}, " \n", 2},
        {"no glyph: refused", "", 0, {'\t', 0xE9, 1}, "", 0},
        {"special keys are not characters", "", 0, {266, 256 + 'a'}, "", 0},
    };
    for (const Case& c : cases) {
        EditText field(Int2(0, 0), font);
        field.text = c.text;
        field.cursorPos = c.cursor;
        for (int key : c.keys) field.handleKey(key);
        EXPECT_EQ(field.text, c.expectedText) << c.what;
        EXPECT_EQ(field.cursorPos, c.expectedCursor) << c.what;
    }
}

TEST_F(EditTextTest, Modes) {
    EditText field(Int2(0, 0), font);
    field.text = std::string(255, 'a');
    field.cursorPos = 255;
    field.handleKey('b');
    EXPECT_EQ(field.text.size(), 255u);  // default limit
    field.maxLength = -1;
    field.handleKey('b');
    EXPECT_EQ(field.text.size(), 256u);

    EditText digits(Int2(0, 0), font);
    digits.digitsOnly = true;
    for (int key : {'4', 'x', '2', ' '}) digits.handleKey(key);
    EXPECT_EQ(digits.text, "42");

    EditText locked(Int2(0, 0), font);
    locked.isEditable = false;
    locked.handleKey('a');
    EXPECT_EQ(locked.text, "");

    EditText noFont(Int2(0, 0), nullptr);
    noFont.handleKey('a');
    EXPECT_EQ(noFont.text, "");
    noFont.text = "ab";
    noFont.cursorPos = 2;
    noFont.handleKey(8);  // editing keys work without a font
    EXPECT_EQ(noFont.text, "a");
}

TEST_F(EditTextTest, CursorBlinksEveryHalfSecond) {
    for (Font* f : {font, static_cast<Font*>(nullptr)}) {
        for (bool password : {false, true}) {
            EditText field(Int2(10, 10), f);
            field.text = "abc";
            field.isPassword = password;
            field.lastBlinkTime = -1000;
            field.draw(1.f);
            EXPECT_TRUE(field.isCursorVisible);
            field.draw(1.f);  // drawn again at once: same phase
            EXPECT_TRUE(field.isCursorVisible);
            field.lastBlinkTime -= 501;
            field.draw(1.f);
            EXPECT_FALSE(field.isCursorVisible);
        }
    }
}

TEST(EditTextDeathTest, NeedsTheDeviceManager) {
    EXPECT_EXIT(EditText(Int2(0, 0), nullptr), testing::ExitedWithCode(1), "Condition: deviceManager\n");
}
