#pragma once
// The window, its GL context, the frame pump and the program-wide input state. The window
// library calls back into plain functions, so this state is program-wide too.
#include "BasicVector.h"
#include "Color.h"

#include <cstdint>
#include <string>
#include <vector>

struct MouseEvent {
    int32_t x, y;    // window pixels, origin top-left
    int32_t button;  // 0 left, 1 middle, 2 right, others as delivered; -1 for motion
    int32_t state;   // MOUSE_PRESSED, MOUSE_RELEASED, MOUSE_DRAGGED or MOUSE_MOVED
};

enum {
    MOUSE_PRESSED = 0,
    MOUSE_RELEASED = 1,
    MOUSE_DRAGGED = 2,  // motion with a button held
    MOUSE_MOVED = 3     // motion with no button held
};

extern Int2 screenSize;  // client size in pixels
extern bool isFullScreen;
extern int64_t periodDuration;               // µs between the ends of the last two frames, at most 200000
extern int64_t lastFrameEnd;                 // clock (µs) at the end of the latest loopEvent; 0 before it
extern bool mouseButtons[3];                 // left, middle, right: held
extern Int2 mousePosition;                   // latest pointer position, from motion events only
extern Int2 mouseScenePosition;              // mousePosition in 2D scene coordinates
extern std::vector<MouseEvent> mouseEvents;  // received during this frame's event dispatch

// Owns the program-wide rendering singletons (scene2D, spriteManager, scene3D,
// keyboardManager): created in that order before the window, deleted in the order
// spriteManager, scene2D, scene3D, keyboardManager. The window lives until the process ends.
class GLManager {
public:
    GLManager(const std::string& programPath, const std::string& title, int width, int height, bool fullScreen);
    virtual ~GLManager();

    // A mipmapped, repeating texture of RGB or RGBA pixels whose sizes are powers of two; it
    // stays bound.
    static unsigned int createTexture(const unsigned char* data, int width, int height, bool isAlpha);
};

// Called once, by the GLManager.
void initWindow(const std::string& programPath, const std::string& title, int width, int height, bool fullScreen);

// One pass of the frame pump; returns the time spent swapping buffers, in µs.
int32_t loopEvent();

void reshape(int width, int height);
void clearScreen(const Color& color);
Color getCurrentColor();

// Frame pacing: how long to sleep so that a frame lasts at least 10 ms, from the µs elapsed
// since the end of the previous frame.
int frameCapSleepMs(int64_t elapsedUs);

// Window-library callbacks.
void keyDown(unsigned char c, int x, int y);
void keyUp(unsigned char c, int x, int y);
void specialKeyDown(int key, int x, int y);
void specialKeyUp(int key, int x, int y);
void mouseButton(int button, int state, int x, int y);
void mouseMotion(int x, int y);
void mousePassiveMotion(int x, int y);
