#pragma once
// Single owner of every sprite and of the pictures behind them; pictures are shared by file
// name and counted, and freed with their last sprite.
#include <map>
#include <string>
#include <vector>

class Image;
class Sprite;

struct LoadedImageInfo {
    int nbSpritesUsingThisImage;  // >= 1 while the entry exists
    Image* image;                 // owned
};

class SpriteManager {
public:
    std::string defaultTextureName;  // used when a sprite is asked for without a name
    std::map<std::string, LoadedImageInfo*> loadedImages;
    std::vector<Sprite*> sprites;  // owned, in creation order

    explicit SpriteManager(const std::string& defaultTextureName);
    // Every sprite must have been released before.
    ~SpriteManager();

    // An empty name takes the default texture. The manager keeps the sprite; release it with
    // removeSprite.
    Sprite* addSprite(const std::string& fileName, int hotSpotAlignment);
    // Unknown sprites are ignored.
    void removeSprite(Sprite* sprite);
};

extern SpriteManager* spriteManager;
