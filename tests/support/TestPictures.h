#pragma once
// Pictures the tests write themselves, so no test depends on media files.
#include <string>
#include <vector>

// rows top first; 3 (RGB) or 4 (RGBA) bytes a pixel
void writePng(const std::string& path, int width, int height, bool alpha, const std::vector<unsigned char>& pixels);

// rows top first, 1 (grey) or 3 (RGB) bytes a pixel; keepBytes > 0 writes only the first bytes,
// as a truncated file.
void writeJpeg(const std::string& path, int width, int height, bool grey, const std::vector<unsigned char>& pixels,
               size_t keepBytes = 0);

// A font strip for the glyphs '!' to '~': glyph i is inked over inkWidth(i) columns, with
// gap transparent columns between glyphs and `margin` empty columns first, padded with empty
// columns to a power-of-two width. Returns that width. height should be a power of two.
int writeFontStrip(const std::string& path, int height, int margin, int gap, int (*inkWidth)(int glyph));

// default_font.png and logo.png (a 64 x 32 picture: red left half, blue right half) in a
// game folder: what the engine needs to start.
void writeStartupMedia(const std::string& folder);
