#include "Font.h"
#include "DeviceManager.h"
#include "ErrorReport.h"
#include "Image.h"
#include "Scene2D.h"

#include <cstring>

static const int FONT_SPACE_WIDTH = 16;  // pixels before scaling

Font::Font() : image(nullptr), spaceWidth(FONT_SPACE_WIDTH), owner(deviceManager) {
    image = new Image(deviceManager, FONT_FILE_NAME, false);
    ASSERT(image->getIsAlpha());
    discoverGlyphs(image->getData(), image->getWidth(), image->getHeight(), glyphStart, glyphWidth);
    delete[] image->data;
    image->data = nullptr;
}

Font::~Font() { delete image; }

void discoverGlyphs(const unsigned char* rgba, int width, int height, int glyphStart[256], int glyphWidth[256]) {
    for (int c = 0; c < 256; ++c) glyphStart[c] = glyphWidth[c] = -1;
    auto inked = [&](int column) {
        for (int row = 0; row < height; ++row)
            if (rgba[(static_cast<size_t>(row) * width + column) * 4 + 3] != 0) return true;
        return false;
    };
    int column = 0;
    while (column < width && !inked(column)) ++column;
    for (int c = 33; c <= 126 && column < width; ++c) {
        int first = column;
        glyphStart[c] = first - 1;
        int end = first + 1;
        while (end < width && inked(end)) ++end;
        if (end >= width) {
            // The strip ends inside this glyph: it has no right edge, so no glyph.
            glyphStart[c] = -1;
            break;
        }
        glyphWidth[c] = end - first + 4;
        column = end + 1;
        while (column < width && !inked(column)) ++column;
    }
}

bool Font::isPrintable(char c) const {
    unsigned char code = static_cast<unsigned char>(c);
    return code == ' ' || code == '\n' || glyphStart[code] != -1;
}

Int2 Font::drawText(int length, const char* text, const Float2& scale, int x, int y) {
    ASSERT(text != NULL);
    if (length == -1) length = static_cast<int>(std::strlen(text));
    const float pictureWidth = static_cast<float>(image->getWidth());
    const int lineHeight = static_cast<int>(static_cast<float>(image->getHeight()) * scale.y());
    int cx = x, cy = y;
    for (int i = 0; i < length; ++i) {
        unsigned char code = static_cast<unsigned char>(text[i]);
        if (code == ' ') {
            cx += static_cast<int>(static_cast<float>(spaceWidth) * scale.x());
        } else if (code == '\n') {
            cx = x;
            cy += lineHeight;
        } else if (glyphStart[code] != -1) {
            int advance = static_cast<int>(static_cast<float>(glyphWidth[code]) * scale.x());
            scene2D->drawTexturedRect(image->getTextureId(), cx, cy, glyphStart[code] / pictureWidth, 0.f,
                                      (glyphStart[code] + glyphWidth[code]) / pictureWidth, 1.f, advance, lineHeight);
            cx += advance;
        }
    }
    return Int2(cx, cy);
}

int Font::getTextWidth(int length, const char* text, float scaleX) const {
    if (length == -1) length = static_cast<int>(std::strlen(text));
    int running = 0, best = 0;
    for (int i = 0; i < length; ++i) {
        unsigned char code = static_cast<unsigned char>(text[i]);
        if (code == ' ') {
            running += static_cast<int>(scaleX * static_cast<float>(spaceWidth));
        } else if (code == '\n') {
            if (running > best) best = running;
            running = 0;
        } else if (glyphStart[code] != -1) {
            running += static_cast<int>(scaleX * static_cast<float>(glyphWidth[code]));
        }
    }
    return running > best ? running : best;
}

Int2 Font::drawTextBox(const Int2& position, int maxWidth, const Float2& scale, const std::string& text) {
    const int lineHeight = static_cast<int>(static_cast<float>(image->getHeight()) * scale.y());
    int dx = 0, dy = 0;
    size_t wordStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != ' ' && c != '\n' && i + 1 != text.size()) continue;
        const char* word = text.c_str() + wordStart;
        int length = static_cast<int>(i + 1 - wordStart);
        int w = getTextWidth(length, word, scale.x());
        if (dx + w >= maxWidth) {
            dy += lineHeight;
            dx = 0;
        }
        drawText(length, word, scale, position.x() + dx, position.y() + dy);
        dx += w;
        if (c == '\n') {
            dy += lineHeight;
            dx = 0;
        }
        wordStart = i + 1;
    }
    return Int2(position.x() + dx, position.y() + dy);
}
