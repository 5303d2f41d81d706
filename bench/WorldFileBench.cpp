// Loading and saving a large world against one raw read or write of the same bytes.
#include "CubeZone.h"
#include "BenchSupport.h"
#include "DeviceManager.h"
#include "IndexedWorld.h"
#include "Region.h"
#include "WorldIndexator.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// 100,000 zones with 24 shadow points each, written once into a folder of its own.
IndexedWorld* largeWorld() {
    static IndexedWorld* world = nullptr;
    if (world) return world;
    char folder[] = "/tmp/cubist-bench-world-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    if (!deviceManager) createDeviceManager("cubist-bench", "", 800, 600, false);
    std::string empty = std::string("WORLD") + std::string("\1\0\0\0", 4) + std::string(4, '\0');
    for (int v : {-1, -1, -1, 2, 2, 2})
        empty += std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                             static_cast<char>(v >> 24)};
    empty += std::string(8 * 16, '\0');
    std::ofstream("world.dat", std::ios::binary) << empty;
    world = new IndexedWorld(nullptr, nullptr);
    for (int i = 0; i < 100000; ++i) {
        Float3 c((i % 64) * 10.f + 5.f, ((i / 64) % 32) * 10.f + 5.f, (i / 2048) * 10.f + 5.f);
        world->addCubeZone(c, Float3(10.f, 10.f, 10.f), 0);
    }
    for (int64_t i = 0; i < worldIndexator->nbRegions(); ++i)
        for (CubeZone& zone : worldIndexator->tableRegions[i]->zones)
            zone.shadowTriangles[3].assign(24, Float3(1.f, 2.f, 3.f));
    world->saveWorld();
    return world;
}

void BM_WorldLoad100k(benchmark::State& state) {
    QuietStdout quiet;
    IndexedWorld* world = largeWorld();
    for (auto _ : state) world->loadWorld();
}
BENCHMARK(BM_WorldLoad100k)->Unit(benchmark::kMillisecond);

void BM_WorldSave100k(benchmark::State& state) {
    QuietStdout quiet;
    IndexedWorld* world = largeWorld();
    for (auto _ : state) world->saveWorld();
}
BENCHMARK(BM_WorldSave100k)->Unit(benchmark::kMillisecond);

// The baselines: the same bytes in one fread, and out in one fwrite to a new file.
void BM_WorldRawRead(benchmark::State& state) {
    QuietStdout quiet;
    largeWorld();
    std::vector<char> bytes(64 << 20);
    for (auto _ : state) {
        std::FILE* f = std::fopen("world.dat", "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
}
BENCHMARK(BM_WorldRawRead)->Unit(benchmark::kMillisecond);

void BM_WorldRawWrite(benchmark::State& state) {
    QuietStdout quiet;
    largeWorld();
    std::ifstream in("world.dat", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto _ : state) {
        std::FILE* f = std::fopen("raw.dat", "w+b");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
        std::rename("raw.dat", "raw2.dat");
    }
}
BENCHMARK(BM_WorldRawWrite)->Unit(benchmark::kMillisecond);

}  // namespace
