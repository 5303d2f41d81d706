#include "SpriteManager.h"
#include "DeviceManager.h"
#include "ErrorReport.h"
#include "Image.h"
#include "Sprite.h"

#include <algorithm>

SpriteManager* spriteManager = nullptr;

SpriteManager::SpriteManager(const std::string& defaultTextureName_) : defaultTextureName(defaultTextureName_) {}

SpriteManager::~SpriteManager() {
    ASSERT(sprites.size() == 0);
    for (auto it = sprites.begin(); it != sprites.end(); ++it) ASSERT((*it) != NULL);
}

Sprite* SpriteManager::addSprite(const std::string& fileName, int hotSpotAlignment) {
    const std::string name = fileName.empty() ? defaultTextureName : fileName;
    Image* image;
    auto found = loadedImages.find(name);
    if (found != loadedImages.end()) {
        ++found->second->nbSpritesUsingThisImage;
        image = found->second->image;
    } else {
        image = new Image(deviceManager, name, false);
        loadedImages[name] = new LoadedImageInfo{1, image};
    }
    Sprite* tmpsprite = new Sprite(std::vector<Image*>(1, image), hotSpotAlignment);
    ASSERT(tmpsprite != NULL);
    sprites.push_back(tmpsprite);
    return tmpsprite;
}

void SpriteManager::removeSprite(Sprite* sprite) {
    auto slot = std::find(sprites.begin(), sprites.end(), sprite);
    if (slot == sprites.end()) return;
    sprites.erase(slot);
    for (Image* image : sprite->images) {
        auto entry = loadedImages.begin();
        while (entry != loadedImages.end() && entry->second->image != image) ++entry;
        if (entry == loadedImages.end()) continue;
        LoadedImageInfo* lii = entry->second;
        ASSERT_MSG(lii->nbSpritesUsingThisImage > 0, "SpriteManager::removeSprite : the sprite has no image ?");
        if (--lii->nbSpritesUsingThisImage == 0) {
            delete lii->image;
            delete lii;
            loadedImages.erase(entry);
        }
    }
    delete sprite;
}
