#include "TestPictures.h"

#include <png.h>
// After stdio: the JPEG header needs FILE.
#include <cstdio>
#include <jpeglib.h>
#include <cstdlib>
#include <fstream>

#include <cstdio>
#include <stdexcept>

void writePng(const std::string& path, int width, int height, bool alpha, const std::vector<unsigned char>& pixels) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
    for (int row = 0; row < height; ++row) png_write_row(png, const_cast<png_bytep>(pixels.data() + row * rowBytes));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

void writeJpeg(const std::string& path, int width, int height, bool grey, const std::vector<unsigned char>& pixels,
               size_t keepBytes) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    const int rowBytes = width * info.input_components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[info.next_scanline * rowBytes]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(buffer), keepBytes ? keepBytes : size);
    std::free(buffer);
    jpeg_destroy_compress(&info);
}

int writeFontStrip(const std::string& path, int height, int margin, int gap, int (*inkWidth)(int glyph)) {
    int width = margin;
    for (int glyph = 0; glyph < 94; ++glyph) width += inkWidth(glyph) + gap;
    // A power-of-two width is loaded without resampling, so the columns stay exact.
    int padded = 2;
    while (padded < width) padded *= 2;
    width = padded;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4, 0);
    int column = margin;
    for (int glyph = 0; glyph < 94; ++glyph) {
        for (int c = column; c < column + inkWidth(glyph); ++c) {
            // One inked pixel a column is enough to count; fill the glyph for visible text.
            for (int row = 2; row < height - 2; ++row) {
                unsigned char* p = &pixels[(static_cast<size_t>(row) * width + c) * 4];
                p[0] = p[1] = p[2] = p[3] = 255;
            }
        }
        column += inkWidth(glyph) + gap;
    }
    writePng(path, width, height, true, pixels);
    return width;
}

void writeStartupMedia(const std::string& folder) {
    writeFontStrip(folder + "/default_font.png", 16, 1, 2, [](int glyph) { return 3 + glyph % 5; });
    std::vector<unsigned char> logo(64 * 32 * 3);
    for (int row = 0; row < 32; ++row)
        for (int c = 0; c < 64; ++c) {
            unsigned char* p = &logo[(row * 64 + c) * 3];
            p[0] = c < 32 ? 255 : 0;
            p[1] = 0;
            p[2] = c < 32 ? 0 : 255;
        }
    writePng(folder + "/logo.png", 64, 32, false, logo);
}
