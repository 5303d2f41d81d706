// Writes the media the engine needs to start, from fonts installed on the machine:
//   default_font.png  the glyphs '!' to '~' of DejaVu Sans Bold in one strip
//   logo.png          the start-up logo
// Usage: cubist_make_assets <output folder> [font file]
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const defaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

struct Rgba {
    int width, height;
    std::vector<unsigned char> pixels;
    Rgba(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
    unsigned char* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 4]; }
};

void fail(const std::string& message) {
    std::fprintf(stderr, "cubist_make_assets: %s\n", message.c_str());
    std::exit(1);
}

void writePng(const std::string& path, const Rgba& image) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) fail("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) fail("cannot encode " + path);
    png_init_io(png, f);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // No time stamp: the same inputs give the same bytes.
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) png_write_row(png, &image.pixels[static_cast<size_t>(y) * image.width * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
}

int nextPowerOfTwo(int n) {
    int p = 2;
    while (p < n) p *= 2;
    return p;
}

// The engine finds glyphs as runs of columns holding some alpha, separated by empty columns,
// and draws each with one column before its ink and three after. So every glyph gets a
// barely visible alpha-1 row under its whole span (characters such as '"' have gaps inside),
// and glyphs are four empty columns apart so that no drawn glyph shows a piece of the next.
void makeFont(FT_Face face, const std::string& path) {
    const int height = 32, baseline = 25, gap = 4, margin = 2;
    FT_Set_Pixel_Sizes(face, 0, 24);
    struct Glyph {
        int bitmapWidth, rows, top;
        int width;  // columns in the strip: the bitmap, at least one
        std::vector<unsigned char> coverage;
    };
    std::vector<Glyph> glyphs;
    int total = margin;
    for (int c = 33; c <= 126; ++c) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER)) fail("cannot render character " + std::to_string(c));
        FT_Bitmap& bitmap = face->glyph->bitmap;
        Glyph g;
        g.bitmapWidth = static_cast<int>(bitmap.width);
        g.rows = static_cast<int>(bitmap.rows);
        g.top = face->glyph->bitmap_top;
        g.width = g.bitmapWidth > 0 ? g.bitmapWidth : 1;
        g.coverage.resize(static_cast<size_t>(g.bitmapWidth) * g.rows);
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.bitmapWidth; ++x)
                g.coverage[y * g.bitmapWidth + x] = bitmap.buffer[y * bitmap.pitch + x];
        glyphs.push_back(g);
        total += g.width + gap;
    }
    Rgba strip(nextPowerOfTwo(total), height);
    int x0 = margin;
    for (const Glyph& g : glyphs) {
        for (int y = 0; y < g.rows; ++y) {
            int py = baseline - g.top + y;
            if (py < 0 || py >= height) continue;
            for (int x = 0; x < g.bitmapWidth; ++x) {
                unsigned char* p = strip.at(x0 + x, py);
                p[0] = p[1] = p[2] = 255;
                p[3] = g.coverage[y * g.bitmapWidth + x];
            }
        }
        for (int x = 0; x < g.width; ++x) {
            unsigned char* p = strip.at(x0 + x, height - 1);
            p[0] = p[1] = p[2] = 255;
            if (p[3] == 0) p[3] = 1;
        }
        x0 += g.width + gap;
    }
    writePng(path, strip);
}

struct Point {
    float x, y;
};

// Convex quad with corners in clockwise order on screen (y down).
bool insideQuad(const Point q[4], float x, float y) {
    for (int i = 0; i < 4; ++i) {
        const Point& a = q[i];
        const Point& b = q[(i + 1) % 4];
        if ((b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x) < 0.f) return false;
    }
    return true;
}

// "Cubist" beside an isometric grass cube, on a transparent background.
void makeLogo(FT_Face face, const std::string& path) {
    Rgba logo(256, 128);
    const float cx = 48.f, cy = 64.f, s = 36.f, h = 0.8660254f * s;
    const Point top = {cx, cy - s}, upperLeft = {cx - h, cy - s / 2}, upperRight = {cx + h, cy - s / 2},
                centre = {cx, cy}, lowerLeft = {cx - h, cy + s / 2}, lowerRight = {cx + h, cy + s / 2},
                bottom = {cx, cy + s};
    const Point faces[3][4] = {{top, upperRight, centre, upperLeft},
                               {upperLeft, centre, bottom, lowerLeft},
                               {centre, upperRight, lowerRight, bottom}};
    const unsigned char colours[3][3] = {{120, 200, 90}, {150, 105, 60}, {110, 75, 45}};
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            for (int f = 0; f < 3; ++f)
                if (insideQuad(faces[f], x + 0.5f, y + 0.5f)) {
                    unsigned char* p = logo.at(x, y);
                    p[0] = colours[f][0], p[1] = colours[f][1], p[2] = colours[f][2], p[3] = 255;
                }
    FT_Set_Pixel_Sizes(face, 0, 44);
    int penX = 96;
    for (const char* c = "Cubist"; *c; ++c) {
        if (FT_Load_Char(face, static_cast<unsigned char>(*c), FT_LOAD_RENDER)) fail("cannot render the logo");
        FT_Bitmap& bitmap = face->glyph->bitmap;
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            for (unsigned x = 0; x < bitmap.width; ++x) {
                int px = penX + face->glyph->bitmap_left + static_cast<int>(x);
                int py = 80 - face->glyph->bitmap_top + static_cast<int>(y);
                if (px < 0 || py < 0 || px >= logo.width || py >= logo.height) continue;
                unsigned char a = bitmap.buffer[y * bitmap.pitch + x];
                if (a == 0) continue;
                unsigned char* p = logo.at(px, py);
                p[0] = 255, p[1] = static_cast<unsigned char>(230 - py), p[2] = 120;
                p[3] = a > p[3] ? a : p[3];
            }
        }
        penX += static_cast<int>(face->glyph->advance.x >> 6);
    }
    writePng(path, logo);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) fail("usage: cubist_make_assets <output folder> [font file]");
    const std::string folder = argv[1];
    const char* fontFile = argc > 2 ? argv[2] : defaultFontFile;
    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library)) fail("cannot start FreeType");
    if (FT_New_Face(library, fontFile, 0, &face)) fail(std::string("cannot open font ") + fontFile);
    makeFont(face, folder + "/default_font.png");
    makeLogo(face, folder + "/logo.png");
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
