// Picture loading (decode, stretch check, mipmapped upload) and text drawing, in a real GL
// context: run under a virtual X server.
#include "BenchSupport.h"
#include "DeviceManager.h"
#include "Font.h"
#include "Image.h"
#include "TestPictures.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A 1024 x 1024 picture with smooth gradients and some noise, as photos and textures have.
std::vector<unsigned char> testPicture(int channels) {
    std::vector<unsigned char> pixels(1024 * 1024 * channels);
    unsigned seed = 1;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x)
            for (int c = 0; c < channels; ++c) {
                seed = seed * 1103515245u + 12345u;
                pixels[(y * 1024 + x) * channels + c] =
                    static_cast<unsigned char>((x + y * (c + 1)) / 8 + (seed >> 28));
            }
    return pixels;
}

// Run-length TGA, 24 bits: runs where neighbours repeat, raw packets elsewhere.
void writeRleTga(const std::string& path, const std::vector<unsigned char>& rgb) {
    std::string out(18, '\0');
    out[2] = 10;
    out[12] = 0, out[13] = 4, out[14] = 0, out[15] = 4, out[16] = 24;
    for (size_t i = 0; i < rgb.size() / 3;) {
        size_t run = 1;
        while (run < 128 && i + run < rgb.size() / 3 && rgb[(i + run) * 3] == rgb[i * 3] &&
               rgb[(i + run) * 3 + 1] == rgb[i * 3 + 1] && rgb[(i + run) * 3 + 2] == rgb[i * 3 + 2])
            ++run;
        if (run > 1) {
            out += static_cast<char>(0x80 | (run - 1));
            out +=
                {static_cast<char>(rgb[i * 3 + 2]), static_cast<char>(rgb[i * 3 + 1]), static_cast<char>(rgb[i * 3])};
            i += run;
        } else {
            out += '\0';
            out +=
                {static_cast<char>(rgb[i * 3 + 2]), static_cast<char>(rgb[i * 3 + 1]), static_cast<char>(rgb[i * 3])};
            ++i;
        }
    }
    std::ofstream(path, std::ios::binary) << out;
}

// The GL context and the picture files, made once in a folder of their own.
void prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    char folder[] = "/tmp/cubist-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    if (!deviceManager) createDeviceManager("cubist-bench", "", 800, 600, false);
    writePng("picture.png", 1024, 1024, true, testPicture(4));
    writeJpeg("picture.jpg", 1024, 1024, false, testPicture(3));
    writeRleTga("picture.tga", testPicture(3));
    writeStartupMedia(".");
}

void BM_LoadImage(benchmark::State& state, const char* name) {
    prepare();
    QuietStdout quiet;
    for (auto _ : state) {
        Image image(deviceManager, name, false);
        benchmark::DoNotOptimize(image.getTextureId());
    }
}
BENCHMARK_CAPTURE(BM_LoadImage, png_1024, "picture.png")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadImage, jpeg_1024, "picture.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadImage, rle_tga_1024, "picture.tga")->Unit(benchmark::kMillisecond);

// The cost of a screenful of text each frame.
void BM_DrawText2000(benchmark::State& state) {
    prepare();
    static Font* font = new Font();
    std::string text;
    for (int i = 0; i < 2000; ++i) text += i % 60 == 59 ? '\n' : static_cast<char>('a' + i % 26);
    for (auto _ : state) benchmark::DoNotOptimize(font->drawText(-1, text.c_str(), Float2(0.5f, 0.5f), 0, 0));
}
BENCHMARK(BM_DrawText2000)->Unit(benchmark::kMicrosecond);

}  // namespace
