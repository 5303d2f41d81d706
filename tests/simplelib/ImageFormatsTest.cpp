#include "CaptureOutput.h"
#include "GLTestContext.h"
#include "Image.h"
#include "ImageLoader.h"
#include "TempFolder.h"
#include "TestPictures.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

// Byte strings that may hold zero bytes.
#define BYTES(literal) std::string(literal, sizeof(literal) - 1)

namespace {

void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string u16(int v) { return std::string{static_cast<char>(v & 255), static_cast<char>((v >> 8) & 255)}; }

// An 18-byte TGA header.
std::string tgaHeader(int type, int width, int height, int depth, int mapType = 0, int mapLength = 0, int mapBits = 0,
                      int idLength = 0) {
    return std::string{static_cast<char>(idLength), static_cast<char>(mapType), static_cast<char>(type)} + u16(0) +
           u16(mapLength) + std::string(1, static_cast<char>(mapBits)) + u16(0) + u16(0) + u16(width) + u16(height) +
           std::string{static_cast<char>(depth), 0};
}

void writePngOfType(const std::string& path, int width, int height, int colorType, int bitDepth,
                    const std::vector<unsigned char>& rows, const std::vector<png_color>& palette = {}) {
    FILE* f = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / height;
    for (int y = 0; y < height; ++y) png_write_row(png, const_cast<png_bytep>(&rows[y * rowBytes]));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

struct Decoded {
    int width = 0, height = 0, bytesPerPixel = 0;
    std::vector<int> pixels;
};

// Runs one decoder on a file, without GL.
Decoded decode(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    Decoded d;
    unsigned char* p = nullptr;
    switch (imageFormatOf(path)) {
        case IMAGE_TGA: p = readTGA(f, path, d.width, d.height, d.bytesPerPixel, false); break;
        case IMAGE_PNG: p = read_png_file(f, path, d.width, d.height, d.bytesPerPixel, false); break;
        case IMAGE_JPEG:
            p = loadJpeg(f, path, d.width, d.height, false);
            d.bytesPerPixel = 3;
            break;
        default: break;
    }
    std::fclose(f);
    d.pixels.assign(p, p + static_cast<size_t>(d.width) * d.height * d.bytesPerPixel);
    delete[] p;
    return d;
}

class ImageFormats : public testing::Test {
protected:
    TempFolder folder;
};

}  // namespace

TEST(ImageNames, FormatByExtension) {
    struct Case {
        const char* name;
        ImageFormat format;
    };
    const Case cases[] = {
        {"photo.JPEG", IMAGE_JPEG},   {"photo.jpg", IMAGE_JPEG}, {"photo.JPG", IMAGE_JPEG}, {"p.jpeg", IMAGE_JPEG},
        {"photo.Jpg", IMAGE_UNKNOWN}, {".jpg", IMAGE_UNKNOWN},   {".jpeg", IMAGE_UNKNOWN},  {"a.png", IMAGE_PNG},
        {"a.PNG", IMAGE_PNG},         {"a.Png", IMAGE_UNKNOWN},  {".png", IMAGE_UNKNOWN},   {"a.TgA", IMAGE_TGA},
        {".tga", IMAGE_TGA},          {"tga", IMAGE_UNKNOWN},    {"a.bmp", IMAGE_UNKNOWN},
    };
    for (const Case& c : cases) EXPECT_EQ(imageFormatOf(c.name), c.format) << c.name;
}

TEST_F(ImageFormats, TgaPixels) {
    struct Case {
        const char* what;
        std::string bytes;
        int width, height, bytesPerPixel;
        std::vector<int> pixels;
    };
    const std::string map = "\x01\x02\x03\x0A\x0B\x0C";  // two BGR entries
    const Case cases[] = {
        {"24-bit BGR", tgaHeader(2, 1, 1, 24) + "\x10\x20\x30", 1, 1, 3, {0x30, 0x20, 0x10}},
        {"16-bit 5-5-5", tgaHeader(2, 1, 1, 16) + "\x1F\x7C", 1, 1, 3, {248, 0, 248}},
        {"32-bit BGRA", tgaHeader(2, 1, 1, 32) + "\x10\x20\x30\x40", 1, 1, 4, {0x30, 0x20, 0x10, 0x40}},
        {"rows reversed",
         tgaHeader(2, 1, 2, 24) + std::string("\x01\x01\x01\x02\x02\x02"),
         1,
         2,
         3,
         {2, 2, 2, 1, 1, 1}},
        {"identifier skipped",
         tgaHeader(2, 1, 1, 24, 0, 0, 0, 3) + "abc" + "\x10\x20\x30",
         1,
         1,
         3,
         {0x30, 0x20, 0x10}},
        {"colour-mapped",
         tgaHeader(1, 2, 1, 8, 1, 2, 24) + map + BYTES("\x01\x00"),
         2,
         1,
         3,
         {0x0C, 0x0B, 0x0A, 3, 2, 1}},
        {"grey", tgaHeader(3, 2, 1, 8) + "\x05\xF0", 2, 1, 3, {5, 5, 5, 0xF0, 0xF0, 0xF0}},
        {"grey with alpha", tgaHeader(3, 1, 1, 16) + "\x05\x80", 1, 1, 4, {5, 5, 5, 0x80}},
        {"run of 4",
         tgaHeader(10, 4, 1, 24) + "\x83\x10\x20\x30",
         4,
         1,
         3,
         {0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0x30, 0x20, 0x10, 0x30, 0x20, 0x10}},
        {"raw packet of 3",
         tgaHeader(10, 3, 1, 24) + BYTES("\x02\x01\x00\x00\x02\x00\x00\x03\x00\x00"),
         3,
         1,
         3,
         {0, 0, 1, 0, 0, 2, 0, 0, 3}},
        {"run cut at the end",
         tgaHeader(10, 2, 1, 24) + "\x85\x10\x20\x30",
         2,
         1,
         3,
         {0x30, 0x20, 0x10, 0x30, 0x20, 0x10}},
        {"mapped runs",
         tgaHeader(9, 3, 1, 8, 1, 2, 24) + map + BYTES("\x81\x01\x00\x00"),
         3,
         1,
         3,
         {0x0C, 0x0B, 0x0A, 0x0C, 0x0B, 0x0A, 3, 2, 1}},
        {"grey runs", tgaHeader(11, 3, 1, 8) + "\x82\x07", 3, 1, 3, {7, 7, 7, 7, 7, 7, 7, 7, 7}},
    };
    for (const Case& c : cases) {
        writeBytes("p.tga", c.bytes);
        Decoded d = decode("p.tga");
        EXPECT_EQ(d.width, c.width) << c.what;
        EXPECT_EQ(d.height, c.height) << c.what;
        EXPECT_EQ(d.bytesPerPixel, c.bytesPerPixel) << c.what;
        EXPECT_EQ(d.pixels, c.pixels) << c.what;
    }
}

TEST_F(ImageFormats, DamagedTgaIsAFatalReport) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const std::string map = "\x01\x02\x03";
    const Case cases[] = {
        {"short header", BYTES("\x00\x00\x02"), "the file ends inside the header"},
        {"unknown type", tgaHeader(5, 1, 1, 24) + "abc", "error: unknown TGA image type 5!\n"},
        {"no image data", tgaHeader(0, 1, 1, 24), "holds no image data"},
        {"zero width", tgaHeader(2, 0, 1, 24), "unusable picture size 0 x 1"},
        {"negative height", tgaHeader(2, 1, -4, 24), "unusable picture size 1 x -4"},
        {"absurd size", tgaHeader(2, 20000, 20000, 24), "unusable picture size 20000 x 20000"},
        {"pixels missing", tgaHeader(2, 100, 100, 24) + "\x01\x02\x03", "too short for a 100 x 100 picture"},
        {"colour index past the map", tgaHeader(1, 1, 1, 8, 1, 1, 24) + map + "\x05", "colour index 5 is past"},
        {"no colour map", tgaHeader(1, 1, 1, 8) + BYTES("\x00"), "without a colour map"},
        {"short colour map", tgaHeader(1, 1, 1, 8, 1, 200, 24) + map, "ends inside the colour map"},
        {"run-length data ends early", tgaHeader(10, 300, 1, 24) + "\x7F" + std::string(20, '\x01'),
         "ends inside a pixel"},
        {"unsupported depth", tgaHeader(2, 1, 1, 15) + "\x01\x02", "pixels of 15 bits are not supported"},
    };
    for (const Case& c : cases) {
        writeBytes("bad.tga", c.bytes);
        EXPECT_EXIT(decode("bad.tga"), testing::ExitedWithCode(1), testing::HasSubstr(c.message)) << c.what;
    }
    writeBytes("bad.tga", tgaHeader(7, 1, 1, 24));
    EXPECT_EXIT(decode("bad.tga"), testing::ExitedWithCode(1), "^error: unknown TGA image type 7!\n");
}

TEST_F(ImageFormats, PngRowsAndStorageKinds) {
    writePng("two.png", 1, 2, false, {10, 20, 30, 200, 210, 220});
    Decoded two = decode("two.png");
    EXPECT_EQ(two.pixels, (std::vector<int>{10, 20, 30, 200, 210, 220}));  // top row first

    // 16 bits a channel, 3 x 1: each sample keeps its high byte.
    std::vector<unsigned char> wide;
    for (int i = 0; i < 12; ++i) {
        wide.push_back(static_cast<unsigned char>(i * 20));
        wide.push_back(0xFF);
    }
    writePngOfType("deep.png", 3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, wide);
    Decoded deep = decode("deep.png");
    EXPECT_EQ(deep.bytesPerPixel, 4);
    EXPECT_EQ(deep.width, 3);
    EXPECT_EQ(deep.pixels, (std::vector<int>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220}));

    writePngOfType("palette.png", 2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {{1, 2, 3}, {40, 50, 60}});
    EXPECT_EQ(decode("palette.png").pixels, (std::vector<int>{40, 50, 60, 1, 2, 3}));
    writePngOfType("grey.png", 2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 9});
    EXPECT_EQ(decode("grey.png").pixels, (std::vector<int>{7, 7, 7, 9, 9, 9}));
    writePngOfType("greyalpha.png", 1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {7, 128});
    EXPECT_EQ(decode("greyalpha.png").pixels, (std::vector<int>{7, 7, 7, 128}));
    writePngOfType("rgb16.png", 1, 1, PNG_COLOR_TYPE_RGB, 16, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(decode("rgb16.png").pixels, (std::vector<int>{1, 3, 5}));
}

TEST_F(ImageFormats, DamagedPngIsAFatalReport) {
    writeBytes("text.png", "not a picture at all");
    EXPECT_EXIT(decode("text.png"), testing::ExitedWithCode(1),
                "^\\[read_png_file\\] File is not recognized as a PNG file\n");
    writePng("whole.png", 64, 64, true, std::vector<unsigned char>(64 * 64 * 4, 77));
    std::ifstream in("whole.png", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    writeBytes("cut.png", bytes.substr(0, bytes.size() / 2));
    EXPECT_EXIT(decode("cut.png"), testing::ExitedWithCode(1), "\\[read_png_file\\] Error during read_image\n");
    writeBytes("header.png", bytes.substr(0, 20));
    EXPECT_EXIT(decode("header.png"), testing::ExitedWithCode(1), "\\[read_png_file\\] Error during init_io\n");
}

TEST_F(ImageFormats, JpegRowsAndKinds) {
    std::vector<unsigned char> rows(16 * 16 * 3);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = i < rows.size() / 2 ? 250 : 10;  // light top, dark bottom
    writeJpeg("rows.jpg", 16, 16, false, rows);
    Decoded d = decode("rows.jpg");
    EXPECT_LT(d.pixels[0], 40);                     // row 0 is the bottom of the picture
    EXPECT_GT(d.pixels[d.pixels.size() - 1], 220);  // the last row is its top

    writeJpeg("line.jpg", 8, 1, false, std::vector<unsigned char>(8 * 3, 128));
    Decoded line = decode("line.jpg");
    EXPECT_EQ(line.height, 1);
    EXPECT_EQ(line.width, 8);

    writeJpeg("grey.jpg", 8, 8, true, std::vector<unsigned char>(64, 100));
    Decoded grey = decode("grey.jpg");
    EXPECT_EQ(grey.bytesPerPixel, 3);
    EXPECT_NEAR(grey.pixels[4], 100, 3);
}

TEST_F(ImageFormats, DamagedJpegIsAFatalReport) {
    writeBytes("noise.jpg", "\xFF\xD8\xFF\x01garbage");
    EXPECT_EXIT(decode("noise.jpg"), testing::ExitedWithCode(1), "Message: loadJpeg : cannot load jpeg file\n");
    std::vector<unsigned char> pixels(64 * 64 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 7);
    writeJpeg("cut.jpg", 64, 64, false, pixels, 600);
    EXPECT_EXIT(decode("cut.jpg"), testing::ExitedWithCode(1), "Message: loadJpeg : cannot load jpeg file\n");
}

class ImageLoading : public testing::Test {
protected:
    void SetUp() override { ensureGLContext(); }
    TempFolder folder;
};

TEST_F(ImageLoading, StretchToPowersOfTwo) {
    struct Case {
        int width, height;
        bool alpha;
        int expectedWidth, expectedHeight;
        std::string verboseLine;
    };
    const Case cases[] = {
        {1, 1, false, 2, 2,
         "Loading image 'p.png' ...(png) (image was streched) ... done (width=2 height=2 isAlpha=0)\n"},
        {256, 64, false, 256, 64, "Loading image 'p.png' ...(png)... done (width=256 height=64 isAlpha=0)\n"},
        {300, 200, true, 512, 256,
         "Loading image 'p.png' ...(png) (image was streched) ... done (width=512 height=256 isAlpha=1)\n"},
    };
    for (const Case& c : cases) {
        writePng("p.png", c.width, c.height, c.alpha,
                 std::vector<unsigned char>(static_cast<size_t>(c.width) * c.height * (c.alpha ? 4 : 3), 90));
        int w = 0, h = 0;
        bool alpha = false;
        CaptureStdout capture;
        unsigned char* pixels = loadImage("p.png", w, h, alpha, true);
        EXPECT_EQ(capture.take(), c.verboseLine);
        EXPECT_EQ(w, c.expectedWidth);
        EXPECT_EQ(h, c.expectedHeight);
        EXPECT_EQ(alpha, c.alpha);
        // Rows are tightly packed: every byte of a flat picture keeps its value.
        const size_t size = static_cast<size_t>(w) * h * (alpha ? 4 : 3);
        EXPECT_EQ(std::count(pixels, pixels + size, 90), static_cast<long>(size)) << c.width << " x " << c.height;
        delete[] pixels;
    }
}

TEST_F(ImageLoading, ImageTextureLifecycle) {
    writeStartupMedia(".");
    GLuint texture;
    {
        CaptureStdout capture;
        Image image(nullptr, "logo.png", false);
        EXPECT_EQ(capture.take(), "Loading image 'logo.png'\n");
        texture = image.getTextureId();
        EXPECT_TRUE(glIsTexture(texture));
        int minFilter, wrapS, wrapT;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
        EXPECT_EQ(wrapS, GL_REPEAT);
        EXPECT_EQ(wrapT, GL_REPEAT);
        EXPECT_EQ(image.getWidth(), 64);
        EXPECT_FALSE(image.getIsAlpha());
        EXPECT_EQ(image.getData()[0], 255);  // top-left is red
        capture.take();
    }
    EXPECT_FALSE(glIsTexture(texture));
}

TEST_F(ImageLoading, UnusableNamesAreFatal) {
    writePng("photo.Jpg", 2, 2, false, std::vector<unsigned char>(12, 0));
    writePng(".png", 2, 2, false, std::vector<unsigned char>(12, 0));
    writeBytes(".tga", tgaHeader(2, 2, 2, 24) + std::string(12, '\x40'));
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"missing.png", "Message: loadImage: can't open 'missing.png'\n"},
        {"photo.Jpg",
         "Message: loadImage : File format not recognised"
         "photo.Jpg\n"},
        {".png", "Message: loadImage : File format not recognised.png\n"},
    };
    int w, h;
    bool alpha;
    for (const Case& c : cases)
        EXPECT_EXIT(loadImage(c.name, w, h, alpha, false), testing::ExitedWithCode(1), c.message) << c.name;
    delete[] loadImage(".tga", w, h, alpha, false);  // a bare .tga is a TGA
    EXPECT_EQ(w, 2);
}
