#pragma once
// Picture files to RGB or RGBA pixels. The decoders read from a file opened at its first byte
// and need no GL context; each returns a new[] array the caller owns, with the decoded sizes.
// Every failure ends in the fatal report: a caller never receives a partly decoded picture.
#include <cstdio>  // FILE for the decoders
#include <string>

const int MAX_IMAGE_SIDE = 16384;  // pixels; larger sizes in a file are taken as corruption

// Decodes by the name's extension and stretches to powers of two (at least 2), which needs the
// GL context.
unsigned char* loadImage(const std::string& path, int& width, int& height, bool& isAlpha, bool verbose);

// Rows bottom of the picture first; always RGB.
unsigned char* loadJpeg(FILE* file, const std::string& path, int& width, int& height, bool verbose);
// Rows top first; bytesPerPixel 3 or 4.
unsigned char* read_png_file(FILE* file, const std::string& path, int& width, int& height, int& bytesPerPixel,
                             bool verbose);
// Rows in the reverse of their order in the file (top first for the usual storage); the origin
// bits are not read. bytesPerPixel 3 or 4.
unsigned char* readTGA(FILE* file, const std::string& path, int& width, int& height, int& bytesPerPixel, bool verbose);

enum ImageFormat { IMAGE_JPEG, IMAGE_PNG, IMAGE_TGA, IMAGE_UNKNOWN };
// Only .jpg/.jpeg/.png in all lower or all upper case; .tga in any case.
ImageFormat imageFormatOf(const std::string& path);

// 2 doubled until it reaches n.
int powerOfTwoAtLeast(int n);
