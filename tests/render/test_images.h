// Small images made in memory for the drawing tests: PNG files encoded with
// libpng, and sprite sheets whose every pixel tells where it came from.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/sprite_sheet.h"

namespace mervox::testing {

// A picture as a PNG file holds it, to be encoded by EncodePng.
struct PngPicture {
    int width = 1, height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    std::vector<uint8_t> rows;            // packed rows as the file stores them
    std::vector<png_color> palette;       // for palette images
    std::vector<uint8_t> trnsAlpha;       // palette tRNS alphas
    bool greyTrns = false;                // grey tRNS value
    uint16_t greyTrnsValue = 0;
};

inline void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
inline void NoFlush(png_structp) {}

inline std::vector<uint8_t> EncodePng(const PngPicture& s) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.trnsAlpha.empty()) {
        png_set_tRNS(png, info, s.trnsAlpha.data(), static_cast<int>(s.trnsAlpha.size()), nullptr);
    }
    if (s.greyTrns) {
        png_color_16 c{};
        c.gray = s.greyTrnsValue;
        png_set_tRNS(png, info, nullptr, 0, &c);
    }
    png_write_info(png, info);
    const size_t rowBytes = s.rows.size() / s.height;
    for (int y = 0; y < s.height; ++y) {
        png_write_row(png, const_cast<png_bytep>(s.rows.data() + y * rowBytes));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// Word of a "where from" sheet: opaque, with the source x in bits 12..23
// and y + yBase in bits 0..11.
constexpr uint32_t SourceCode(int x, int y) {
    return 0xFF000000u | (static_cast<uint32_t>(x & 0xFFF) << 12) | static_cast<uint32_t>(y & 0xFFF);
}

// A sheet whose pixel (x, y) is SourceCode(x, y + yBase): a copied pixel
// tells which sheet and which source pixel it came from.
inline SpriteSheet MakeSourceSheet(int width, int height, int yBase) {
    SpriteSheet s;
    s.pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) s.pixels[y * width + x] = SourceCode(x, y + yBase);
    }
    s.width = width;
    s.height = height;
    return s;
}

inline SpriteSheet MakeSolidSheet(int width, int height, uint32_t word) {
    SpriteSheet s = MakeSourceSheet(width, height, 0);
    for (int k = 0; k < width * height; ++k) s.pixels[k] = word;
    return s;
}

}  // namespace mervox::testing
