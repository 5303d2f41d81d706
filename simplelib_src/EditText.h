#pragma once
// A single-line input field with a blinking cursor, used by the world editor's dialog.
#include "BasicVector.h"

#include <string>

class Font;

class EditText {
public:
    std::string text;
    int cursorPos;  // insertion index, 0 to text.size()
    int x, y;
    bool isEditable;    // keys apply and the cursor shows only when set
    int maxLength;      // longest text accepted by typing; -1 for no limit
    int lastBlinkTime;  // ms
    bool isCursorVisible;
    Font* font;  // not owned; null draws with the 8-pixel bitmap font and refuses typing
    bool isPassword;
    bool digitsOnly;

    EditText(const Int2& position, Font* font);

    void draw(float scale);
    // 8 backspace, 127 delete, 29 left, 28 right, 11 home; printable characters are typed.
    void handleKey(int code);
    void insertChar(char c);
};
