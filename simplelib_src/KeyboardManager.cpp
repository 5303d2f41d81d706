#include "KeyboardManager.h"

#include <GL/freeglut.h>

#include <cctype>

KeyboardManager* keyboardManager = nullptr;

KeyboardManager::KeyboardManager() {
    for (bool& key : keys) key = false;
}

bool KeyboardManager::isKeyPressed(char character) const {
    unsigned char c = static_cast<unsigned char>(character);
    return keys[std::tolower(c)] || keys[std::toupper(c)];
}

int mapSpecialKey(int glutKey) {
    if (glutKey >= GLUT_KEY_F1 && glutKey <= GLUT_KEY_F12) return KEY_F1 + glutKey - GLUT_KEY_F1;
    switch (glutKey) {
        case GLUT_KEY_LEFT: return KEY_LEFT;
        case GLUT_KEY_UP: return KEY_UP;
        case GLUT_KEY_RIGHT: return KEY_RIGHT;
        case GLUT_KEY_DOWN: return KEY_DOWN;
        case GLUT_KEY_PAGE_UP: return KEY_PAGE_UP;
        case GLUT_KEY_PAGE_DOWN: return KEY_PAGE_DOWN;
        default: return -1;
    }
}
