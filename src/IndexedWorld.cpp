#include "IndexedWorld.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "ErrorReport.h"
#include "Region.h"
#include "WorldFile.h"
#include "WorldIndexator.h"

#include <cstdio>
#include <cerrno>
#include <cstring>

DevicePointers* cotm = nullptr;
std::string worldFileName = WORLD_FILE_NAME;
std::string secondWorldFileName = SECOND_WORLD_FILE_NAME;

// The file positioned at its cube type count, after the magic and the version were checked.
static FILE* openWorldFile(const std::string& name) {
    FILE* fd = std::fopen(name.c_str(), "rb");
    ASSERT_MSG(fd != NULL, "World file '" + name + "' cannot be opened");
    char buf[6] = {0};
    unsigned char version[4];
    if (std::fread(buf, 1, 5, fd) != 5 || std::fread(version, 1, 4, fd) != 4)
        FATAL_ERROR("World file '" + name + "': the file ends inside the header");
    ASSERT(std::string(buf) == std::string("WORLD"));
    int32_t versionFile = static_cast<int32_t>(version[0] | (version[1] << 8) | (version[2] << 16) |
                                               (static_cast<uint32_t>(version[3]) << 24));
    ASSERT(versionFile == 1);
    return fd;
}

IndexedWorld::IndexedWorld(Font* font, SoundManager* soundManager) : isWaterEnabled(true) {
    ASSERT(cotm == NULL && cubeTypeManager == NULL && worldIndexator == NULL);
    cotm = new DevicePointers{font, soundManager};
    cubeTypeManager = new std::vector<CubeType*>;
    worldIndexator = new WorldIndexator(REGION_SIZE);
    loadWorld();
}

IndexedWorld::~IndexedWorld() {
    ASSERT(cotm != NULL && cubeTypeManager != NULL && worldIndexator != NULL);
    delete worldIndexator;
    worldIndexator = nullptr;
    clearCubeTypes();
    delete cubeTypeManager;
    cubeTypeManager = nullptr;
    delete cotm;
    cotm = nullptr;
}

void IndexedWorld::loadWorld() {
    std::printf("==== Loading world from file '%s'\n", worldFileName.c_str());
    FILE* fd = openWorldFile(worldFileName);
    WorldFileReader in(fd, worldFileName);
    clearCubeTypes();
    const int32_t count = in.readCount(6 * 4 + 4, "cube type");
    for (int32_t i = 0; i < count; ++i) cubeTypeManager->push_back(readCubeType(in));
    worldIndexator->resetTable();
    readRegions(in, *worldIndexator);
    std::fclose(fd);
    std::printf("==== Loading world done\n");
}

void IndexedWorld::saveWorld() {
    std::printf("==== Saving world to file '%s'\n", worldFileName.c_str());
    const std::string temporary = worldFileName + ".saving";
    FILE* fd = std::fopen(temporary.c_str(), "w+b");
    ASSERT_MSG(fd != NULL, "World file '" + worldFileName + "': cannot create '" + temporary + "'");
    WorldFileWriter out(fd);
    out.writeBytes("WORLD", 5);
    out.writeInt(1);
    out.writeInt(static_cast<int32_t>(cubeTypeManager->size()));
    for (CubeType* type : *cubeTypeManager) {
        type->isUsed = true;
        writeCubeType(out, *type);
    }
    writeRegions(out, *worldIndexator);
    bool written = out.flush();
    written = std::fclose(fd) == 0 && written;
    if (!written || std::rename(temporary.c_str(), worldFileName.c_str()) != 0) {
        std::remove(temporary.c_str());
        FATAL_ERROR("World file '" + worldFileName + "': cannot be written (" + std::strerror(errno) +
                    "); the previous file is unchanged");
    }
    std::printf("==== World saved to file\n");
}

void IndexedWorld::importWorldFile() {
    FILE* fd = openWorldFile(secondWorldFileName);
    WorldFileReader in(fd, secondWorldFileName);
    const int32_t count = in.readCount(6 * 4 + 4, "cube type");
    for (int32_t i = 0; i < count; ++i) {
        for (int face = 0; face < NB_CUBE_FACES; ++face)
            in.skip(static_cast<size_t>(in.readCount(1, "face name length")));
        in.skip(4);
    }
    readRegions(in, *worldIndexator);
    std::fclose(fd);
}

void IndexedWorld::resetRegions() { worldIndexator->resetTable(); }

bool IndexedWorld::addCubeZone(const Float3& center, const Float3& size, int id) {
    Int3 index;
    if (!worldIndexator->findRegionForBox(center, size, index)) return false;
    Region* region = worldIndexator->getRegion(index);
    region->discardBatch();
    region->zones.push_back(CubeZone(center, size, id));
    return true;
}

void IndexedWorld::addCustomObject(const Float3& position, int id) {
    Int3 index;
    bool res = worldIndexator->findRegionForBox(position, Float3(0.f, 0.f, 0.f), index);
    ASSERT(res);
    Region* region = worldIndexator->getRegion(index);
    region->discardBatch();
    CustomObject object;
    object.position = position;
    object.id = id;
    region->objects.push_back(object);
}

int IndexedWorld::addCubeType(const std::string faceNames[6], const bool repeat[3], bool isCollidable) {
    std::printf("Add cube type with %s, etc. and collidable = %d\n", faceNames[0].c_str(), isCollidable ? 1 : 0);
    cubeTypeManager->push_back(new CubeType(faceNames, repeat, isCollidable));
    return static_cast<int>(cubeTypeManager->size()) - 1;
}

CubeType* IndexedWorld::getCubeType(int index) {
    CubeType* type = (*cubeTypeManager)[index];
    type->isUsed = true;
    return type;
}

int IndexedWorld::getNbCubeType() const { return static_cast<int>(cubeTypeManager->size()); }

void IndexedWorld::removeLastCubeType() {
    delete cubeTypeManager->back();
    cubeTypeManager->pop_back();
}

void IndexedWorld::clearCubeTypes() {
    for (CubeType* type : *cubeTypeManager) delete type;
    cubeTypeManager->clear();
}

void IndexedWorld::resetCubeTypeUse() {
    for (CubeType* type : *cubeTypeManager) type->isUsed = false;
}

void IndexedWorld::freeUnusedCubeTextures() {
    for (CubeType* type : *cubeTypeManager)
        if (!type->isUsed && !type->isShownInEditor) type->freeTextures();
}

void IndexedWorld::swapRegionContents(const Float3& p, const Int3& offset) {
    worldIndexator->swapRegionContents(p, offset);
}
