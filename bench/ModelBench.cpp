// Reading and recording a large OBJ model, and drawing it from its display list, in a real GL
// context: run under a virtual X server.
#include "BenchSupport.h"
#include "DeviceManager.h"
#include "ObjModel.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// A height field of 224 x 224 quads: 100,352 triangles with shared vertices.
const char* const largeModel = "/tmp/cubist-bench-model.obj";

void prepareModel() {
    static bool done = false;
    if (done) return;
    done = true;
    if (!deviceManager) createDeviceManager("cubist-bench", "", 800, 600, false);
    std::ofstream out(largeModel);
    const int n = 224;
    for (int z = 0; z <= n; ++z)
        for (int x = 0; x <= n; ++x) out << "v " << x << " " << ((x * 7 + z * 13) % 17) * 0.1 << " " << z << "\n";
    for (int z = 0; z < n; ++z)
        for (int x = 0; x < n; ++x) {
            int a = z * (n + 1) + x + 1;
            out << "f " << a << " " << a + 1 << " " << a + n + 2 << " " << a + n + 1 << "\n";
        }
}

void BM_ReadAndRecordObj100k(benchmark::State& state) {
    prepareModel();
    QuietStdout quiet;
    for (auto _ : state) {
        ObjModel model(largeModel, 1.f, 0.f);
        benchmark::DoNotOptimize(model.cacheIndex);
    }
}
BENCHMARK(BM_ReadAndRecordObj100k)->Unit(benchmark::kMillisecond);

void BM_DrawObj100k(benchmark::State& state) {
    prepareModel();
    QuietStdout quiet;
    ObjModel model(largeModel, 1.f, 0.f);
    for (auto _ : state) {
        model.draw();
        glFinish();
    }
}
BENCHMARK(BM_DrawObj100k)->Unit(benchmark::kMillisecond);

}  // namespace
