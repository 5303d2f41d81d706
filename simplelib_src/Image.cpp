#include "Image.h"
#include "GLManager.h"
#include "ImageLoader.h"

#include <GL/gl.h>

#include <cstdio>

Image::Image(DeviceManager* owner_, const std::string& filename_, bool verbose)
    : data(nullptr), width(0), height(0), isAlpha(false), textureId(0), owner(owner_), filename(filename_) {
    std::printf("Loading image '%s'\n", filename.c_str());
    data = loadImage(filename, width, height, isAlpha, verbose);
    textureId = GLManager::createTexture(data, width, height, isAlpha);
}

Image::~Image() {
    std::printf("Freeing image '%s'\n", filename.c_str());
    delete[] data;
    data = nullptr;
    glDeleteTextures(1, &textureId);
}
