#include "EditText.h"
#include "DeviceManager.h"
#include "EngineConstants.h"
#include "ErrorReport.h"
#include "Font.h"
#include "Helpers.h"
#include "Scene2D.h"

static const int BLINK_PERIOD_MS = 500;
static const int BITMAP_CHAR_WIDTH = 8;

EditText::EditText(const Int2& position, Font* font_)
    : cursorPos(0),
      x(position.x()),
      y(position.y()),
      isEditable(true),
      maxLength(255),
      lastBlinkTime(0),
      isCursorVisible(false),
      font(font_),
      isPassword(false),
      digitsOnly(false) {
    ASSERT(deviceManager);
}

void EditText::draw(float scale) {
    const Float2 s(scale, scale);
    if (!isPassword) {
        if (font)
            font->drawText(-1, text.c_str(), s, x, y);
        else
            scene2D->drawBitmapText(text, x, y);
    } else if (font) {
        Int2 at(x, y);
        for (size_t i = 0; i < text.size(); ++i) at = font->drawText(-1, "*", s, at.x(), at.y());
    }
    if (!isEditable) return;

    int now = getTimeMs();
    if (now > lastBlinkTime + BLINK_PERIOD_MS) {
        lastBlinkTime = now;
        isCursorVisible = !isCursorVisible;
    }
    if (!isCursorVisible) return;
    if (!font) {
        scene2D->drawBitmapText("|", x + cursorPos * BITMAP_CHAR_WIDTH - 3, y);
        return;
    }
    int cx = isPassword ? x + font->getTextWidth(-1, "*", scale) * cursorPos
                        : x + font->getTextWidth(cursorPos, text.c_str(), scale);
    font->drawText(-1, "|", s, cx - 3, y);
}

void EditText::handleKey(int code) {
    if (!isEditable) return;
    const int length = static_cast<int>(text.size());
    switch (code) {
        case 8:
            if (cursorPos > 0) text.erase(--cursorPos, 1);
            break;
        case 127:
            if (cursorPos < length) text.erase(cursorPos, 1);
            break;
        case KEY_LEFT:
            if (cursorPos > 0) --cursorPos;
            break;
        case KEY_RIGHT:
            if (cursorPos < length) ++cursorPos;
            break;
        case 11: cursorPos = 0; break;
        default:
            // Codes above 255 are special keys, never characters.
            if (!font || code < 0 || code > 255 || !font->isPrintable(static_cast<char>(code))) break;
            if (digitsOnly && (code < '0' || code > '9')) break;
            insertChar(static_cast<char>(code));
    }
}

void EditText::insertChar(char c) {
    if (maxLength != -1 && static_cast<int>(text.size()) + 1 > maxLength) return;
    text.insert(text.begin() + cursorPos, c);
    ++cursorPos;
}
