#include "SpriteManager.h"
#include "ErrorReport.h"

SpriteManager* spriteManager = nullptr;

SpriteManager::SpriteManager(const std::string& defaultTextureName_) : defaultTextureName(defaultTextureName_) {}

SpriteManager::~SpriteManager() { ASSERT(sprites.size() == 0); }
