#pragma once
// The proportional bitmap font of "default_font.png": one strip of the glyphs '!' to '~' in
// order, separated by fully transparent columns. The picture height is the line height.
#include "BasicVector.h"

#include <string>

class DeviceManager;
class Image;

class Font {
public:
    Image* image;         // owned; only its texture and sizes are kept after construction
    int glyphStart[256];  // first texture column, or -1 when the character has no glyph
    int glyphWidth[256];  // texture columns
    int spaceWidth;       // advance of a space before scaling
    DeviceManager* owner;

    Font();
    ~Font();

    // length -1: the whole zero-terminated text. Returns where the next character would go.
    Int2 drawText(int length, const char* text, const Float2& scale, int x, int y);
    // Width of the widest line.
    int getTextWidth(int length, const char* text, float scaleX) const;
    bool isPrintable(char c) const;
    // The text word-wrapped inside maxWidth; a word wider than the box is still drawn whole.
    Int2 drawTextBox(const Int2& position, int maxWidth, const Float2& scale, const std::string& text);
};

// Glyph columns from the alpha bytes of an RGBA strip: a column is inked when any of its
// pixels has non-zero alpha. A glyph spans its ink plus one column left and three right.
void discoverGlyphs(const unsigned char* rgba, int width, int height, int glyphStart[256], int glyphWidth[256]);

#define FONT_FILE_NAME "default_font.png"
