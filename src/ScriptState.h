#pragma once
// State the script functions share with the engine: plain globals on the main thread.
#include "Color.h"

#include <cstdint>
#include <map>
#include <string>

class World;

// Script global variables by name, in byte-wise name order; only integers are kept.
extern std::map<std::string, int32_t> globalVars;
extern bool quitRequested;           // set by the script; the engine stops at the next frame
extern std::string pendingLoadFile;  // saved game to load, empty when none
extern std::string pendingSaveFile;  // saved game to write, empty when none
extern World* currentWorld;          // the world the script functions work on
extern bool waterEnable;             // copied into the world every frame
extern Color fogColor;               // copied into the world every frame
extern bool isFullScreenSpriteDrawn;
