#include "ScriptState.h"

std::map<std::string, int32_t> globalVars;
bool quitRequested = false;
std::string pendingLoadFile;
std::string pendingSaveFile;
World* currentWorld = nullptr;
bool waterEnable = true;
Color fogColor(255, 255, 255, 255);
bool isFullScreenSpriteDrawn = false;
