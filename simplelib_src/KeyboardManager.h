#pragma once
#include "EngineConstants.h"

#include <vector>

// Keys held and keys pressed this frame, filled by the window's key callbacks.
class KeyboardManager {
public:
    bool keys[NB_KEY_CODES];     // indexed by key code; true while held
    std::vector<int> keyEvents;  // codes pressed since this frame's event dispatch, repeats included

    KeyboardManager();

    // Case-insensitive: the character is taken as an unsigned byte.
    bool isKeyPressed(char character) const;
};

extern KeyboardManager* keyboardManager;

// The engine's code for a window-library special key, or -1 for keys the engine ignores.
int mapSpecialKey(int glutKey);
