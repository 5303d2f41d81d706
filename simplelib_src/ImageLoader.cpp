#include "ImageLoader.h"
#include "ErrorReport.h"

#include <GL/glu.h>
#include <jpeglib.h>
#include <jerror.h>  // JWRN_JPEG_EOF
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>

// Larger pictures are refused before anything is allocated: 64 M pixels is 256 MB of RGBA.
static const int64_t MAX_IMAGE_PIXELS = 64LL * 1024 * 1024;

int powerOfTwoAtLeast(int n) {
    int p = 2;
    while (p < n) p *= 2;
    return p;
}

static bool endsWith(const std::string& s, const char* suffix) {
    size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

ImageFormat imageFormatOf(const std::string& path) {
    const size_t n = path.size();
    if (n > 4 && (endsWith(path, ".jpg") || endsWith(path, ".JPG"))) return IMAGE_JPEG;
    if (n > 5 && (endsWith(path, ".jpeg") || endsWith(path, ".JPEG"))) return IMAGE_JPEG;
    if (n > 4 && (endsWith(path, ".png") || endsWith(path, ".PNG"))) return IMAGE_PNG;
    if (n >= 4) {
        std::string last = path.substr(n - 4);
        for (char& c : last) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (last == ".TGA") return IMAGE_TGA;
    }
    return IMAGE_UNKNOWN;
}

// Sizes a decoder is about to allocate for.
static void checkImageSize(const char* format, const std::string& path, int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > MAX_IMAGE_SIDE || height > MAX_IMAGE_SIDE ||
        width * height > MAX_IMAGE_PIXELS)
        FATAL_ERROR(std::string(format) + " file '" + path + "': unusable picture size " + std::to_string(width) +
                    " x " + std::to_string(height));
}

unsigned char* loadImage(const std::string& path, int& width, int& height, bool& isAlpha, bool verbose) {
    if (verbose) {
        std::printf("Loading image '%s' ...", path.c_str());
        std::fflush(stdout);
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) FATAL_ERROR("loadImage: can't open '" + path + "'");

    unsigned char* pixels = nullptr;
    int bytesPerPixel = 3;
    switch (imageFormatOf(path)) {
        case IMAGE_JPEG: pixels = loadJpeg(file, path, width, height, verbose); break;
        case IMAGE_PNG: pixels = read_png_file(file, path, width, height, bytesPerPixel, verbose); break;
        case IMAGE_TGA: pixels = readTGA(file, path, width, height, bytesPerPixel, verbose); break;
        case IMAGE_UNKNOWN: FATAL_ERROR("loadImage : File format not recognised" + path);
    }
    isAlpha = bytesPerPixel == 4;
    std::fclose(file);

    int w2 = powerOfTwoAtLeast(width), h2 = powerOfTwoAtLeast(height);
    bool stretched = w2 != width || h2 != height;
    if (stretched) {
        unsigned char* scaled = new unsigned char[static_cast<size_t>(w2) * h2 * bytesPerPixel];
        GLenum format = isAlpha ? GL_RGBA : GL_RGB;
        // Rows are packed without padding on both sides; with GL's default alignment of 4 an RGB
        // row of 2 pixels would be written as 8 bytes, past the end of the buffer.
        GLint packAlignment, unpackAlignment;
        glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        GLint scaleResult =
            gluScaleImage(format, width, height, GL_UNSIGNED_BYTE, pixels, w2, h2, GL_UNSIGNED_BYTE, scaled);
        glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
        glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
        if (scaleResult != 0)
            FATAL_ERROR("loadImage: cannot stretch '" + path + "' to " + std::to_string(w2) + " x " +
                        std::to_string(h2));
        delete[] pixels;
        pixels = scaled;
        width = w2;
        height = h2;
    }
    if (verbose) {
        if (stretched) std::printf(" (image was streched) ");
        std::printf("... done (width=%d height=%d isAlpha=%d)\n", width, height, isAlpha ? 1 : 0);
    }
    return pixels;
}

// ---- JPEG

namespace {
struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf returnPoint;
};

// The library's message goes out as usual; then control returns to the decoder instead of exit.
void jpegErrorExit(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->returnPoint, 1);
}

// A file that ends early is a broken picture, not a grey-padded one.
void jpegEmitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) jpegErrorExit(info);
    if (level < 0) (*info->err->output_message)(info);
}
}  // namespace

unsigned char* loadJpeg(FILE* file, const std::string& path, int& width, int& height, bool verbose) {
    if (verbose) {
        std::printf("(jpeg)");
        std::fflush(stdout);
    }
    jpeg_decompress_struct info;
    std::printf("chmu1\n");
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    std::printf("chmu2\n");
    error.manager.error_exit = jpegErrorExit;
    error.manager.emit_message = jpegEmitMessage;
    unsigned char* volatile pixels = nullptr;
    if (setjmp(error.returnPoint)) {
        jpeg_destroy_decompress(&info);
        delete[] pixels;
        FATAL_ERROR("loadJpeg : cannot load jpeg file");
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // Before decompression starts: it already allocates by these sizes.
    checkImageSize("JPEG", path, info.image_width, info.image_height);
    // Grey pictures come out as RGB like every other.
    if (info.jpeg_color_space == JCS_GRAYSCALE) info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        FATAL_ERROR("JPEG file '" + path + "': only RGB and grey pictures are supported");
    }
    checkImageSize("JPEG", path, info.output_width, info.output_height);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    pixels = new unsigned char[rowBytes * height];
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               static_cast<JDIMENSION>(rowBytes), 1);
    while (info.output_scanline < info.output_height) {
        int decoded = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        std::memcpy(pixels + rowBytes * (height - 1 - decoded), row[0], rowBytes);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

// ---- PNG

[[noreturn]] static void pngFailure(const char* message) {
    std::fprintf(stderr, "%s\n", message);
    FATAL_ERROR(message);
}

unsigned char* read_png_file(FILE* file, const std::string& path, int& width, int& height, int& bytesPerPixel,
                             bool verbose) {
    if (verbose) {
        std::printf("(png)");
        std::fflush(stdout);
    }
    unsigned char header[8];
    if (std::fread(header, 1, 8, file) != 8 || png_sig_cmp(header, 0, 8))
        pngFailure("[read_png_file] File is not recognized as a PNG file");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) pngFailure("[read_png_file] png_create_read_struct failed");
    png_infop info = png_create_info_struct(png);
    if (!info) pngFailure("[read_png_file] png_create_info_struct failed");

    if (setjmp(png_jmpbuf(png))) pngFailure("[read_png_file] Error during init_io");
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    checkImageSize("PNG", path, w, h);
    width = static_cast<int>(w);
    height = static_cast<int>(h);

    // Palette, grey and 16-bit RGB storage become 8-bit RGB or RGBA; 16-bit RGBA is narrowed
    // after reading, keeping each sample's high byte.
    int colorType = png_get_color_type(png, info), bitDepth = png_get_bit_depth(png, info);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (bitDepth == 16 && colorType != PNG_COLOR_TYPE_RGB_ALPHA) png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (setjmp(png_jmpbuf(png))) pngFailure("[read_png_file] Error during read_image");
    const size_t rowBytes = png_get_rowbytes(png, info);
    unsigned char* pixels = new unsigned char[rowBytes * height];
    png_bytep* rows = new png_bytep[height];
    for (int y = 0; y < height; ++y) rows[y] = pixels + rowBytes * y;
    png_read_image(png, rows);
    delete[] rows;
    png_destroy_read_struct(&png, &info, nullptr);

    bytesPerPixel = static_cast<int>(rowBytes / width);
    if (bytesPerPixel == 8) {
        unsigned char* narrow = new unsigned char[static_cast<size_t>(width) * height * 4];
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width * 4; ++x)
                narrow[(static_cast<size_t>(y) * width * 4) + x] = pixels[rowBytes * y + x * 2];
        delete[] pixels;
        pixels = narrow;
        bytesPerPixel = 4;
    }
    if (bytesPerPixel != 3 && bytesPerPixel != 4) {
        delete[] pixels;
        FATAL_ERROR("PNG file '" + path + "': pixels of " + std::to_string(bytesPerPixel) + " bytes are not supported");
    }
    return pixels;
}
