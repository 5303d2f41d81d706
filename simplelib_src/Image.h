#pragma once
// One loaded picture: power-of-two RGB or RGBA pixels and the mipmapped texture made from them.
// Never half-made: every load failure ends in the fatal report.
#include <string>

class DeviceManager;

class Image {
public:
    unsigned char* data;     // rows of width pixels, 3 or 4 bytes each; owned (new[]); may be freed early
    int width;               // power of two, at least 2
    int height;              // power of two, at least 2
    bool isAlpha;            // 4 bytes a pixel
    unsigned int textureId;  // owned
    DeviceManager* owner;
    std::string filename;

    Image(DeviceManager* owner, const std::string& filename, bool verbose);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    unsigned char* getData() const { return data; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool getIsAlpha() const { return isAlpha; }
    unsigned int getTextureId() const { return textureId; }
    const std::string& getFilename() const { return filename; }
};
