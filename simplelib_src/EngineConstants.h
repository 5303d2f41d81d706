#pragma once
// The engine's fixed numbers and file names, with their units, in one place.
#include <cstdint>

// Frame pacing
const int64_t MIN_FRAME_DURATION_US = 10000;    // a frame lasts at least 10 ms
const int64_t MAX_PERIOD_DURATION_US = 200000;  // a stall counts as at most 0.2 s of movement

// Window at start-up, in pixels
const int START_WINDOW_WIDTH = 800;
const int START_WINDOW_HEIGHT = 600;
const int START_SCENE2D_WIDTH = 640;  // before the window exists
const int START_SCENE2D_HEIGHT = 480;

// Key codes beyond the 256 characters
const int NB_KEY_CODES = 268;
const int KEY_F1 = 256;  // F1 ... F12 are 256 ... 267
const int KEY_RIGHT = 28;
const int KEY_LEFT = 29;
const int KEY_UP = 30;
const int KEY_DOWN = 31;
const int KEY_PAGE_UP = 33;
const int KEY_PAGE_DOWN = 34;
const int KEY_ESCAPE = 27;

// Angles
const float DEGREES_TO_RADIANS = 0.017453292f;
const float HALF_PI = 1.5707964f;

// 3D scene
const int NB_LIGHTS = 8;

// Files
#define EXTENSIONS_FILE_NAME "extensions.txt"
#define WHITE_TEXTURE_FILE_NAME "whiteTexture.png"
#define LOGO_FILE_NAME "logo.png"
