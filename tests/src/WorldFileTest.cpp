#include "CaptureOutput.h"
#include "CubeType.h"
#include "CubeZone.h"
#include "GLTestContext.h"
#include "IndexedWorld.h"
#include "Region.h"
#include "TempFolder.h"
#include "TestPictures.h"
#include "WorldIndexator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string i32(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    return std::string{static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
                       static_cast<char>(u >> 24)};
}

// A world file with no cube types and a region section of the given place and size, every
// region empty unless `firstRegion` replaces the first record.
std::string worldBytes(Int3 min, Int3 size, const std::string& firstRegion = "") {
    std::string bytes = "WORLD" + i32(1) + i32(0);
    for (int i = 0; i < 3; ++i) bytes += i32(min[i]);
    for (int i = 0; i < 3; ++i) bytes += i32(size[i]);
    const int regions = size.x() * size.y() * size.z();
    for (int r = 0; r < regions; ++r)
        bytes += r == 0 && !firstRegion.empty() ? firstRegion : i32(0) + i32(0) + i32(0) + i32(0);
    return bytes;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class WorldFileTest : public testing::Test {
protected:
    void SetUp() override {
        ensureGLContext();
        writePng("black_semi_transparent.png", 2, 2, true, std::vector<unsigned char>(16, 100));
    }
    IndexedWorld* open(const std::string& bytes) {
        writeAll("world.dat", bytes);
        CaptureStdout quiet;
        return new IndexedWorld(nullptr, nullptr);
    }
    void save(IndexedWorld* world) {
        CaptureStdout quiet;
        world->saveWorld();
    }
    TempFolder folder;
};

}  // namespace

TEST_F(WorldFileTest, NewWorldIs165Bytes) {
    const std::string fresh = worldBytes(Int3(-1, -1, -1), Int3(2, 2, 2));
    ASSERT_EQ(fresh.size(), 165u);
    writeAll("world.dat", fresh);
    CaptureStdout lines;
    IndexedWorld* world = new IndexedWorld(nullptr, nullptr);
    world->saveWorld();
    EXPECT_EQ(lines.take(),
              "==== Loading world from file 'world.dat'\n==== Loading world done\n"
              "==== Saving world to file 'world.dat'\n==== World saved to file\n");
    EXPECT_EQ(readAll("world.dat"), fresh);
    delete world;
    EXPECT_EQ(cubeTypeManager, nullptr);
    EXPECT_EQ(worldIndexator, nullptr);
}

TEST_F(WorldFileTest, SaveAndLoadKeepEverything) {
    IndexedWorld* world = open(worldBytes(Int3(-1, -1, -1), Int3(2, 2, 2)));
    const std::string names[6] = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png"};
    const bool repeat[3] = {true, false, true};
    CaptureStdout added;
    EXPECT_EQ(world->addCubeType(names, repeat, true), 0);
    EXPECT_EQ(added.take().rfind("Add cube type with a.png, etc. and collidable = 1\n", 0), 0u);
    ASSERT_TRUE(world->addCubeZone(Float3(5.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 0));
    ASSERT_TRUE(world->addCubeZone(Float3(705.f, -5.f, 5.f), Float3(10.f, 10.f, 10.f), 0));
    EXPECT_FALSE(world->addCubeZone(Float3(320.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 0));  // spans two regions
    Region* region = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5.f, 5.f, 5.f)));
    CubeZone& zone = region->zones[0];
    zone.reserved = 77;
    zone.shadowTriangles[1] = {Float3(1.f, 2.f, 3.f), Float3(4.f, 5.f, 6.f), Float3(7.f, 8.f, 9.f)};
    zone.faceShadowed[2] = true;
    zone.shadowTriangles[2] = {Float3(1.f, 1.f, 1.f), Float3(1.f, 1.f, 1.f), Float3(1.f, 1.f, 1.f)};
    world->addCustomObject(Float3(-50.f, 3.f, 2.f), 4);
    region = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(-50.f, 3.f, 2.f)));
    region->objects[0].localVariable1 = 9.f;
    save(world);
    const std::string saved = readAll("world.dat");
    delete world;

    world = open(saved);
    ASSERT_EQ(world->getNbCubeType(), 1);
    CubeType* type = world->getCubeType(0);
    EXPECT_EQ(type->faceTextureNames[5], "f.png");
    EXPECT_TRUE(type->textureRepeat[0]);
    EXPECT_FALSE(type->textureRepeat[1]);
    EXPECT_TRUE(type->isCollidable);
    const Region* back = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5.f, 5.f, 5.f)));
    ASSERT_EQ(back->zones.size(), 1u);
    EXPECT_EQ(back->zones[0].reserved, 77);
    EXPECT_EQ(back->zones[0].shadowTriangles[1].size(), 3u);
    EXPECT_EQ(back->zones[0].shadowTriangles[1][2], Float3(7.f, 8.f, 9.f));
    EXPECT_TRUE(back->zones[0].faceShadowed[2]);
    EXPECT_TRUE(back->zones[0].shadowTriangles[2].empty());
    const Region* objects = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(-50.f, 3.f, 2.f)));
    ASSERT_EQ(objects->objects.size(), 1u);
    EXPECT_EQ(objects->objects[0].id, 4);
    EXPECT_EQ(objects->objects[0].localVariable1, 0.f);
    EXPECT_EQ(worldIndexator->tableRegionSize, Int3(4, 2, 2));
    save(world);
    EXPECT_EQ(readAll("world.dat"), saved);  // byte for byte
    delete world;
}

TEST_F(WorldFileTest, RegionSectionsAndMerging) {
    // A zone list with 8 extra bytes after its items; the table of the file starts at (0, 0, 0).
    const std::string zone = i32(0) + i32(0) + i32(0) + i32(0x41200000) + i32(0x41200000) + i32(0x41200000) + i32(0) +
                             i32(0) + i32(0) + i32(0) + i32(0) + i32(0) + i32(0) + i32(0);
    const std::string region = i32(1) + i32(8) + zone + "12345678" + i32(0) + i32(0);
    IndexedWorld* world = open(worldBytes(Int3(0, 0, 0), Int3(1, 1, 1), region));
    EXPECT_EQ(worldIndexator->minIndex, Int3(-1, -1, -1));
    EXPECT_EQ(worldIndexator->getRegion(Int3(1, 1, 1))->zones.size(), 1u);

    writeAll("world2.dat", worldBytes(Int3(-3, 0, 0), Int3(1, 1, 1), region));
    world->importWorldFile();
    world->importWorldFile();
    EXPECT_EQ(worldIndexator->minIndex, Int3(-3, -1, -1));  // grown downward
    EXPECT_EQ(worldIndexator->getRegion(Int3(0, 1, 1))->zones.size(), 2u);
    EXPECT_EQ(world->getNbCubeType(), 0);
    delete world;
}

TEST_F(WorldFileTest, DamagedFilesAreFatal) {
    const std::string good = worldBytes(Int3(-1, -1, -1), Int3(2, 2, 2));
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    std::string hugeCount = good;
    hugeCount.replace(9, 4, i32(1000000));
    std::string negativeSize = good;
    negativeSize.replace(25, 4, i32(-2));
    std::string hugeZones = good;
    hugeZones.replace(37, 4, i32(0x7FFFFFFF));
    const std::string badZone =
        i32(1) + i32(0) + std::string(24, '\0') + i32(-4) + std::string(28, '\0') + i32(0) + i32(0);
    const std::string badShadow =
        i32(1) + i32(0) + std::string(32, '\0') + i32(-7) + std::string(20, '\0') + i32(0) + i32(0);
    const std::string nanCentre = i32(1) + i32(0) + i32(0x7FC00000) + std::string(52, '\0') + i32(0) + i32(0);
    const Case cases[] = {
        {"not a world", "HELLO" + good.substr(5), "Condition: std::string(buf) == std::string(\"WORLD\")"},
        {"version 2", good.substr(0, 5) + i32(2) + good.substr(9), "Condition: versionFile == 1"},
        {"cut in the header", good.substr(0, 3), "ends inside the header"},
        {"cut in the table", good.substr(0, 30), "ends inside a number"},
        {"cut in the regions", good.substr(0, 100), "ends inside a number"},
        {"cube type count past the file", hugeCount, "cube type count 1000000 exceeds"},
        {"table size not positive", negativeSize, "region table size -2 is not positive"},
        {"zone count past the file", hugeZones, "zone count 2147483647 exceeds"},
        {"negative cube type", worldBytes(Int3(-1, -1, -1), Int3(1, 1, 1), badZone), "a zone of cube type -4"},
        {"shadow count below -1", worldBytes(Int3(-1, -1, -1), Int3(1, 1, 1), badShadow), "shadow point count -7"},
        {"NaN centre", worldBytes(Int3(-1, -1, -1), Int3(1, 1, 1), nanCentre), "not a finite number"},
        {"huge table", worldBytes(Int3(0, 0, 0), Int3(1, 1, 1)).substr(0, 25) + i32(100000) + i32(100000) + i32(100000),
         "larger than the engine's limit"},
    };
    for (const Case& c : cases) {
        writeAll("world.dat", c.bytes);
        EXPECT_EXIT(new IndexedWorld(nullptr, nullptr), testing::ExitedWithCode(1), testing::HasSubstr(c.message))
            << c.what;
    }
    EXPECT_EXIT(new IndexedWorld(nullptr, nullptr), testing::ExitedWithCode(1), testing::HasSubstr("ERROR : "));
}

TEST_F(WorldFileTest, FailedSaveKeepsTheOldFile) {
    const std::string fresh = worldBytes(Int3(-1, -1, -1), Int3(2, 2, 2));
    IndexedWorld* world = open(fresh);
    world->addCustomObject(Float3(1.f, 1.f, 1.f), 1);
    ASSERT_EQ(std::system("mkdir world.dat.saving"), 0);  // the temporary file cannot be created
    EXPECT_EXIT(save(world), testing::ExitedWithCode(1), testing::HasSubstr("cannot create 'world.dat.saving'"));
    EXPECT_EQ(readAll("world.dat"), fresh);
    ASSERT_EQ(std::system("rmdir world.dat.saving"), 0);
    save(world);
    EXPECT_EQ(readAll("world.dat").size(), fresh.size() + 16u);
    EXPECT_FALSE(std::ifstream("world.dat.saving").good());

    // A write that fails part way through a large file (the file size limit stands in for a
    // full disk) is reported, and neither the old file nor a partial temporary stays damaged.
    const std::string before = readAll("world.dat");
    for (int i = 0; i < 3000; ++i) world->addCubeZone(Float3(5.f, 5.f, 5.f), Float3(1.f, 1.f, 1.f), 0);
    for (CubeZone& zone : worldIndexator->regionAt(Float3(5.f, 5.f, 5.f))->zones)
        zone.shadowTriangles[3].assign(24, Float3(1.f, 2.f, 3.f));
    auto saveWithSmallLimit = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{300000, 300000};
        setrlimit(RLIMIT_FSIZE, &limit);
        save(world);
    };
    EXPECT_EXIT(saveWithSmallLimit(), testing::ExitedWithCode(1),
                testing::HasSubstr("World file 'world.dat': cannot be written"));
    EXPECT_EQ(readAll("world.dat"), before);
    EXPECT_FALSE(std::ifstream("world.dat.saving").good());
    delete world;
}

// Every truncation of a world with zones, shadows and objects ends in the report (exit code 1);
// each variant is read in a forked child: loading touches no GL while the file has no cube types.
TEST_F(WorldFileTest, EveryTruncationIsReportedAndNoDamageCrashes) {
    IndexedWorld* world = open(worldBytes(Int3(-1, -1, -1), Int3(2, 2, 2)));
    world->addCubeZone(Float3(5.f, 5.f, 5.f), Float3(10.f, 10.f, 10.f), 0);
    Region* region = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5.f, 5.f, 5.f)));
    region->zones[0].shadowTriangles[3] = {Float3(1.f, 2.f, 3.f), Float3(4.f, 5.f, 6.f), Float3(7.f, 8.f, 9.f)};
    region->zones[0].faceShadowed[0] = true;
    world->addCustomObject(Float3(-5.f, 1.f, 1.f), 2);
    save(world);
    delete world;
    const std::string whole = readAll("world.dat");
    // Exit code of loading the bytes in a forked child: 0 loaded, 1 reported, other = crashed.
    auto load = [](const std::string& bytes) {
        writeAll("world.dat", bytes);
        std::fflush(stdout);
        pid_t child = fork();
        if (child == 0) {
            std::freopen("/dev/null", "w", stdout);
            std::freopen("/dev/null", "w", stderr);
            // The report's exit must not run the parent's GL and X exit handlers in this child.
            std::atexit([] { _exit(1); });
            IndexedWorld loaded(nullptr, nullptr);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    };
    for (size_t length = 0; length < whole.size(); ++length)
        EXPECT_EQ(load(whole.substr(0, length)), 1) << "truncated at " << length;
    // Damaged bytes anywhere load or are reported, never crash (valid variants have no types).
    for (size_t offset = 9; offset < whole.size(); ++offset) {
        std::string damaged = whole;
        damaged[offset] = '\xFF';
        int code = load(damaged);
        EXPECT_TRUE(code == 0 || code == 1) << "byte " << offset << ": exit " << code;
    }
}
