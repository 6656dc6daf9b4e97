#include "render/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace mervox {

namespace {

thread_local long t_encoded = 0;

void ErrorToLongjmp(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

bool WriteRows(std::FILE* f, std::vector<png_bytep>& rows, int width, int height, bool fast) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorToLongjmp, SilentWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (fast) {
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WriteFramePng(const std::string& path, const uint32_t* frame, int frameWidth, int frameHeight,
                   int originX, int originY, int width, int height, bool fast) {
    if (frame == nullptr || width <= 0 || height <= 0) return false;
    t_encoded += 1;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
    for (int y = 0; y < height; ++y) {
        const int64_t fy = static_cast<int64_t>(originY) + y;
        if (fy < 0 || fy >= frameHeight) continue;
        for (int x = 0; x < width; ++x) {
            const int64_t fx = static_cast<int64_t>(originX) + x;
            if (fx < 0 || fx >= frameWidth) continue;
            const uint32_t p = frame[fy * frameWidth + fx];
            uint8_t* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            out[0] = static_cast<uint8_t>(p >> 16);
            out[1] = static_cast<uint8_t>(p >> 8);
            out[2] = static_cast<uint8_t>(p);
        }
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = &rgb[static_cast<size_t>(y) * width * 3];
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = WriteRows(f, rows, width, height, fast);
    return std::fclose(f) == 0 && ok;
}

long PngPicturesEncodedOnThisThread() { return t_encoded; }

}  // namespace mervox
