#pragma once
// The data half of the world: creates and owns the cube-world singletons (cotm,
// cubeTypeManager, worldIndexator) and reads and writes the world file.
//
// Creation: cotm, cubeTypeManager, worldIndexator, then the world file is loaded. Deletion:
// worldIndexator with every region, the cube types, cotm.
#include "BasicVector.h"

#include <string>

class Font;
class SoundManager;

struct DevicePointers {
    Font* font;
    SoundManager* soundManager;
};

extern DevicePointers* cotm;

#define WORLD_FILE_NAME "world.dat"
#define SECOND_WORLD_FILE_NAME "world2.dat"
extern std::string worldFileName;
extern std::string secondWorldFileName;

const float REGION_SIZE = 320.f;  // world units

class IndexedWorld {
public:
    bool isWaterEnabled;

    IndexedWorld(Font* font, SoundManager* soundManager);
    virtual ~IndexedWorld();

    // All or nothing: written beside the file and renamed over it once complete.
    void saveWorld();
    void loadWorld();
    // Adds the regions of the second world file to this world; its cube types are not taken.
    void importWorldFile();
    void resetRegions();
    // False, and nothing added, when the box spans two regions.
    bool addCubeZone(const Float3& center, const Float3& size, int id);
    void addCustomObject(const Float3& position, int id);

    int addCubeType(const std::string faceNames[6], const bool repeat[3], bool isCollidable);
    class CubeType* getCubeType(int index);
    int getNbCubeType() const;
    void removeLastCubeType();
    void clearCubeTypes();
    void resetCubeTypeUse();
    void freeUnusedCubeTextures();
    void swapRegionContents(const Float3& p, const Int3& offset);
};
