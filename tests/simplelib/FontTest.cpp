#include "Font.h"
#include "GLTestContext.h"
#include "Image.h"
#include "Scene2D.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

// Strip glyph widths: '!' inks 3 columns, '"' 4, '#' 5 ... repeating every 5.
static int inkWidth(int glyph) { return 3 + glyph % 5; }

TEST(FontGlyphs, Discovery) {
    struct Case {
        const char* what;
        std::vector<int> inkedColumns;
        int width;
        int start33, width33, start34;
    };
    const Case cases[] = {
        {"ink 5 to 9", {5, 6, 7, 8, 9, 12, 13}, 32, 4, 9, 11},
        {"first ink in column 0", {0, 1, 4}, 16, -1, 6, 3},
        {"strip ends inside the second glyph", {2, 3, 6, 7}, 8, 1, 6, -1},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> rgba(static_cast<size_t>(c.width) * 2 * 4, 0);
        for (int column : c.inkedColumns) rgba[(c.width + column) * 4 + 3] = 1;  // one pixel of row 1
        int start[256], width[256];
        discoverGlyphs(rgba.data(), c.width, 2, start, width);
        EXPECT_EQ(start[33], c.start33) << c.what;
        EXPECT_EQ(width[33], c.width33) << c.what;
        EXPECT_EQ(start[34], c.start34) << c.what;
        EXPECT_EQ(start[126], -1) << c.what;
        EXPECT_EQ(start[' '], -1) << c.what;
    }
}

class FontTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        writeFontStrip("default_font.png", 32, 2, 1, inkWidth);
        font = new Font();
    }
    void TearDown() override { delete font; }
    TempFolder folder;
    Font* font = nullptr;
};

TEST_F(FontTest, GlyphsOfTheStrip) {
    // '!' inks columns 2-4, so it starts one column before and reaches three after.
    EXPECT_EQ(font->glyphStart['!'], 1);
    EXPECT_EQ(font->glyphWidth['!'], 7);
    EXPECT_EQ(font->glyphStart['"'], 5);
    EXPECT_NE(font->glyphStart['~'], -1);
    EXPECT_TRUE(font->isPrintable(' '));
    EXPECT_TRUE(font->isPrintable('\n'));
    EXPECT_FALSE(font->isPrintable('\t'));
    EXPECT_FALSE(font->isPrintable('\xE9'));
    EXPECT_EQ(font->image->getData(), nullptr);  // pixels are not kept
}

TEST_F(FontTest, DrawTextEndPositions) {
    const int w = font->glyphWidth['A'];
    EXPECT_EQ(font->drawText(-1, "A\nA", Float2(1.f, 1.f), 10, 20), Int2(10 + w, 52));
    EXPECT_EQ(font->drawText(-1, "   ", Float2(1.5f, 1.f), 0, 0), Int2(3 * 24, 0));
    EXPECT_EQ(font->drawText(2, "AAAA", Float2(0.5f, 2.f), 0, 0), Int2(2 * (w / 2), 0));
    EXPECT_EQ(font->drawText(-1, "\xE9\xFF\x80", Float2(1.f, 1.f), 5, 5), Int2(5, 5));  // no glyphs: no advance
}

TEST_F(FontTest, TextWidthIsTheWidestLine) {
    const int a = font->glyphWidth['a'], b = font->glyphWidth['b'];
    EXPECT_EQ(font->getTextWidth(-1, "ab\na", 1.f), a + b);
    EXPECT_EQ(font->getTextWidth(-1, "a\nab b", 1.f), a + b + 16 + b);
    EXPECT_EQ(font->getTextWidth(-1, "a a", 0.5f), 2 * (a / 2) + 8);
    EXPECT_EQ(font->getTextWidth(0, "abc", 1.f), 0);
}

TEST_F(FontTest, TextBoxWrapsWhenAWordReachesTheWidth) {
    const int word = font->getTextWidth(-1, "ab ", 1.f);
    // Two words fit only if their width stays below the maximum.
    EXPECT_EQ(font->drawTextBox(Int2(0, 0), 2 * word + 1, Float2(1.f, 1.f), "ab ab "), Int2(2 * word, 0));
    EXPECT_EQ(font->drawTextBox(Int2(0, 0), 2 * word, Float2(1.f, 1.f), "ab ab "), Int2(word, 32));
    // A line end starts a new line after its word; a word wider than the box is drawn whole.
    EXPECT_EQ(font->drawTextBox(Int2(5, 7), 1000, Float2(1.f, 1.f), "ab\nab"),
              Int2(5 + font->getTextWidth(-1, "ab", 1.f), 7 + 32));
    EXPECT_EQ(font->drawTextBox(Int2(0, 0), 4, Float2(1.f, 1.f), "abab"),
              Int2(font->getTextWidth(-1, "abab", 1.f), 32));
}

TEST_F(FontTest, GlyphsLandWhereTheCursorSays) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_POLYGON_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCullFace(GL_FRONT);
    glColor3f(1.f, 1.f, 1.f);
    scene2D->apply2D();
    glClearColor(0.f, 0.f, 0.f, 1.f);
    glClear(GL_COLOR_BUFFER_BIT);
    font->drawText(-1, "#\n#", Float2(2.f, 1.f), 100, 100);
    glFinish();
    auto lit = [](int x, int y) {
        unsigned char pixel[4];
        glReadBuffer(GL_BACK);
        glReadPixels(x, 600 - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] > 128;
    };
    // '#' inks 5 columns after one margin column, at twice the width: x 102 to 111.
    EXPECT_TRUE(lit(106, 116));
    EXPECT_TRUE(lit(106, 148));   // second line, 32 lower
    EXPECT_FALSE(lit(106, 131));  // the strip's empty bottom rows
    EXPECT_FALSE(lit(99, 116));
    glEnable(GL_POLYGON_SMOOTH);
}

TEST_F(FontTest, NullTextStops) {
    EXPECT_EXIT(font->drawText(-1, nullptr, Float2(1.f, 1.f), 0, 0), testing::ExitedWithCode(1),
                "Condition: text != NULL");
}
