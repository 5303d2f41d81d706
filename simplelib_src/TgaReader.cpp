// TGA pictures: colour-mapped, true-colour and grey, raw or run-length encoded. Every read is
// checked against what the file holds, so a damaged file ends in the fatal report instead of
// reading or writing past a buffer.
#include "ErrorReport.h"
#include "Helpers.h"
#include "ImageLoader.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct TgaReader {
    FILE* file;
    const std::string& path;

    [[noreturn]] void fail(const std::string& what) const { FATAL_ERROR("TGA file '" + path + "': " + what); }

    void read(unsigned char* out, size_t n, const char* what) const {
        if (std::fread(out, 1, n, file) != n) fail(std::string("the file ends inside ") + what);
    }
};

// How one pixel of the file becomes R, G, B (and A) of the output.
struct PixelDecoder {
    int fileBytes;  // bytes of one pixel value in the file
    int outBytes;   // 3 or 4
    int type;       // 1/9 colour-mapped, 2/10 true colour, 3/11 grey
    const std::vector<unsigned char>* map;
    int mapEntryBytes;
    int mapLength;
    const TgaReader* reader;

    void decode(const unsigned char* in, unsigned char* out) const {
        switch (type) {
            case 1:
            case 9: {
                int index = in[0];
                if (index >= mapLength)
                    reader->fail("colour index " + std::to_string(index) + " is past the colour map");
                fromTrueColour(&(*map)[static_cast<size_t>(index) * mapEntryBytes], mapEntryBytes, out);
                break;
            }
            case 2:
            case 10: fromTrueColour(in, fileBytes, out); break;
            default:  // grey, with alpha in the second byte when there is one
                out[0] = out[1] = out[2] = in[0];
                if (outBytes == 4) out[3] = in[1];
        }
    }

    void fromTrueColour(const unsigned char* in, int bytes, unsigned char* out) const {
        if (bytes == 2) {
            unsigned w = in[0] | (in[1] << 8);
            out[0] = static_cast<unsigned char>(((w >> 10) & 31) << 3);
            out[1] = static_cast<unsigned char>(((w >> 5) & 31) << 3);
            out[2] = static_cast<unsigned char>((w & 31) << 3);
            if (outBytes == 4) out[3] = 255;
        } else {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            if (outBytes == 4) out[3] = bytes == 4 ? in[3] : 255;
        }
    }
};

}  // namespace

unsigned char* readTGA(FILE* file, const std::string& path, int& width, int& height, int& bytesPerPixel, bool verbose) {
    if (verbose) {
        std::printf("(tga)");
        std::fflush(stdout);
    }
    TgaReader reader{file, path};
    unsigned char header[18];
    reader.read(header, 18, "the header");
    const int idLength = header[0];
    const int mapType = header[1];
    const int type = header[2];
    const int mapLength = static_cast<int16_t>(header[5] | (header[6] << 8));
    const int mapEntryBits = header[7];
    width = static_cast<int16_t>(header[12] | (header[13] << 8));
    height = static_cast<int16_t>(header[14] | (header[15] << 8));
    const int depth = header[16];

    bool colourMapped = type == 1 || type == 9, trueColour = type == 2 || type == 10, grey = type == 3 || type == 11;
    if (type == 0) reader.fail("it holds no image data");
    if (!colourMapped && !trueColour && !grey) {
        char message[64];
        std::snprintf(message, sizeof message, "error: unknown TGA image type %i!\n", type);
        std::fputs(message, stderr);
        FATAL_ERROR(message);
    }
    if (width <= 0 || height <= 0 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE)
        reader.fail("unusable picture size " + std::to_string(width) + " x " + std::to_string(height));

    PixelDecoder decoder = {};
    decoder.type = type;
    decoder.reader = &reader;
    if (colourMapped) {
        if (depth != 8) reader.fail("colour indices of " + std::to_string(depth) + " bits are not supported");
        decoder.fileBytes = 1;
        decoder.outBytes = mapEntryBits == 32 ? 4 : 3;
    } else if (trueColour) {
        if (depth != 16 && depth != 24 && depth != 32)
            reader.fail("pixels of " + std::to_string(depth) + " bits are not supported");
        decoder.fileBytes = depth / 8;
        decoder.outBytes = depth > 24 ? 4 : 3;
    } else {
        if (depth != 8 && depth != 16)
            reader.fail("grey pixels of " + std::to_string(depth) + " bits are not supported");
        decoder.fileBytes = depth / 8;
        decoder.outBytes = depth == 8 ? 3 : 4;
    }

    std::vector<unsigned char> skipped(idLength);
    reader.read(skipped.data(), skipped.size(), "the image identifier");
    std::vector<unsigned char> map;
    if (mapType != 0) {
        int entryBytes = mapEntryBits / 8;
        if (mapLength < 0 || (colourMapped && entryBytes != 2 && entryBytes != 3 && entryBytes != 4))
            reader.fail("unusable colour map");
        map.resize(static_cast<size_t>(mapLength) * entryBytes);
        reader.read(map.data(), map.size(), "the colour map");
        decoder.map = &map;
        decoder.mapEntryBytes = entryBytes;
        decoder.mapLength = mapLength;
    } else if (colourMapped) {
        reader.fail("a colour-mapped picture without a colour map");
    }

    // The file must be able to hold the pixels before they are allocated: a raw file one value
    // a pixel, a run-length one at least a packet per 128 pixels.
    const int64_t nbPixels = static_cast<int64_t>(width) * height;
    const bool runLength = type >= 9;
    const int64_t leastBytes =
        runLength ? (nbPixels + 127) / 128 * (1 + decoder.fileBytes) : nbPixels * decoder.fileBytes;
    if (bytesLeftInFile(file) < leastBytes)
        reader.fail("the file is too short for a " + std::to_string(width) + " x " + std::to_string(height) +
                    " picture");

    const int out = decoder.outBytes;
    std::vector<unsigned char> decoded(static_cast<size_t>(nbPixels) * out);
    unsigned char value[4];
    int64_t done = 0;
    while (done < nbPixels) {
        int count = 1;
        bool repeated = false;
        if (runLength) {
            unsigned char packet;
            reader.read(&packet, 1, "a packet header");
            count = (packet & 127) + 1;
            repeated = (packet & 128) != 0;
        }
        if (repeated) reader.read(value, decoder.fileBytes, "a pixel");
        // A packet reaching past the picture is cut there.
        for (int i = 0; i < count && done < nbPixels; ++i, ++done) {
            if (!repeated) reader.read(value, decoder.fileBytes, "a pixel");
            decoder.decode(value, &decoded[static_cast<size_t>(done) * out]);
        }
    }

    const size_t rowBytes = static_cast<size_t>(width) * out;
    unsigned char* pixels = new unsigned char[rowBytes * height];
    for (int row = 0; row < height; ++row)
        std::memcpy(pixels + rowBytes * (height - 1 - row), &decoded[rowBytes * row], rowBytes);
    bytesPerPixel = out;
    return pixels;
}
