#include "BasicVector.h"
#include "Geometry.h"

#include <benchmark/benchmark.h>

// Sprite corners are recomputed at every draw: four rotateAround calls each.
static void BM_RotatedRectangle(benchmark::State& state) {
    Int2 corners[4];
    float angle = 0.f;
    for (auto _ : state) {
        rotatedRectangle(Int2(16, 16), Int2(400, 300), Int2(32, 32), angle, 0, 0, corners);
        benchmark::DoNotOptimize(corners);
        angle += 0.5f;
    }
}
BENCHMARK(BM_RotatedRectangle);
