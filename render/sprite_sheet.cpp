#include "render/sprite_sheet.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/frame_buffer.h"

namespace mervox {

namespace {

// Sheets larger than this many pixels are refused (the game's are a few
// hundred pixels on a side).
constexpr uint64_t kMaxSheetPixels = 64ull * 1024 * 1024;

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t cursor;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (r == nullptr || length > r->size - r->cursor) {
        png_error(png, "the image ends early");
    }
    std::memcpy(out, r->data + r->cursor, length);
    r->cursor += length;
}

void SilentWarning(png_structp, png_const_charp) {}

void ErrorToLongjmp(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything the decoder takes, released on every way out.
struct DecodeResources {
    png_structp png = nullptr;
    png_infop info = nullptr;
    uint8_t* rows = nullptr;
    png_bytep* rowPointers = nullptr;
    ~DecodeResources() {
        std::free(rowPointers);
        std::free(rows);
        if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    }
};

// The decoding proper; kept free of C++ objects with destructors between
// setjmp and any longjmp.
bool Decode(DecodeResources& res, MemoryReader& reader, uint32_t** outPixels, png_uint_32* outW,
            png_uint_32* outH) {
    if (setjmp(png_jmpbuf(res.png))) return false;
    png_set_read_fn(res.png, &reader, ReadFromMemory);
    png_read_info(res.png, res.info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(res.png, res.info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || static_cast<uint64_t>(width) * height > kMaxSheetPixels) return false;

    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(res.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(res.png);
    if (png_get_valid(res.png, res.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(res.png);
    if (png_get_valid(res.png, res.info, PNG_INFO_bKGD)) png_set_expand(res.png);
    if (bitDepth > 8) png_set_strip_16(res.png);
    // Grey images, with or without alpha, become grey colour pixels.
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(res.png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !png_get_valid(res.png, res.info, PNG_INFO_tRNS)) {
        png_set_filler(res.png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_bgr(res.png);
    png_set_interlace_handling(res.png);
    png_read_update_info(res.png, res.info);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    if (png_get_rowbytes(res.png, res.info) != rowBytes) return false;

    res.rows = static_cast<uint8_t*>(std::malloc(rowBytes * height));
    res.rowPointers = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (res.rows == nullptr || res.rowPointers == nullptr) return false;
    for (png_uint_32 i = 0; i < height; ++i) res.rowPointers[i] = res.rows + i * rowBytes;
    png_read_image(res.png, res.rowPointers);

    uint32_t* pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, 4));
    if (pixels == nullptr) return false;
    for (png_uint_32 i = 0; i < height; ++i) {
        const uint8_t* src = res.rowPointers[i];
        uint32_t* dst = pixels + static_cast<size_t>(i) * width;
        for (png_uint_32 x = 0; x < width; ++x) {
            dst[x] = static_cast<uint32_t>(src[4 * x]) | (static_cast<uint32_t>(src[4 * x + 1]) << 8) |
                     (static_cast<uint32_t>(src[4 * x + 2]) << 16) |
                     (static_cast<uint32_t>(src[4 * x + 3]) << 24);
        }
    }
    *outPixels = pixels;
    *outW = width;
    *outH = height;
    return true;
}

}  // namespace

bool LoadPngImageFromMemory(const uint8_t* data, size_t size, SpriteSheet& sheet) {
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    DecodeResources res;
    res.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ErrorToLongjmp, SilentWarning);
    if (res.png == nullptr) return false;
    res.info = png_create_info_struct(res.png);
    if (res.info == nullptr) return false;
    MemoryReader reader{data, size, 0};
    uint32_t* pixels = nullptr;
    png_uint_32 width = 0, height = 0;
    if (!Decode(res, reader, &pixels, &width, &height)) return false;

    FreeSpriteSheet(sheet);
    sheet.pixels = pixels;
    sheet.width = static_cast<int32_t>(width);
    sheet.height = static_cast<int32_t>(height);
    return true;
}

bool LoadPngImage(const std::string& path, SpriteSheet& sheet, std::string* why) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        if (why) *why = std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> file;
    if (std::fseek(f, 0, SEEK_END) == 0) {
        const long length = std::ftell(f);
        if (length > 0 && std::fseek(f, 0, SEEK_SET) == 0) {
            file.resize(static_cast<size_t>(length));
            file.resize(std::fread(file.data(), 1, file.size(), f));
        }
    }
    std::fclose(f);
    if (LoadPngImageFromMemory(file.data(), file.size(), sheet)) return true;
    if (why) *why = "not a PNG image this game can read";
    return false;
}

void FreeSpriteSheet(SpriteSheet& sheet) {
    std::free(sheet.pixels);
    sheet.pixels = nullptr;
}

int DrawSprite(uint32_t* frame, int width, int height, const SpriteSheet& sheet, int dstX, int dstY,
               int srcX, int srcY) {
    return DrawSprite(FrameView(frame, 1), width, height, sheet, dstX, dstY, srcX, srcY);
}

void EnlargeSheet(const SpriteSheet& from, int scale, SpriteSheet& to) {
    FreeSpriteSheet(to);
    if (from.pixels == nullptr || scale < 1) return;
    const size_t w = static_cast<size_t>(SheetWidth(from)), h = static_cast<size_t>(SheetHeight(from));
    const size_t n = static_cast<size_t>(scale);
    auto* pixels = static_cast<uint32_t*>(std::malloc(w * h * n * n * 4));
    if (pixels == nullptr) return;
    for (size_t y = 0; y < h * n; ++y) {
        const uint32_t* src = from.pixels + (y / n) * w;
        uint32_t* dst = pixels + y * w * n;
        for (size_t x = 0; x < w * n; ++x) dst[x] = src[x / n];
    }
    to.pixels = pixels;
    to.width = static_cast<int32_t>(w * n);
    to.height = static_cast<int32_t>(h * n);
}

namespace {

// One sheet pixel over one frame pixel: opaque copied, clear skipped, the
// rest blended with the fourth byte 0.
inline void BlendPixel(uint32_t s, uint32_t& d) {
    const uint32_t a = s >> 24;
    if (a == 255) {
        d = s;
    } else if (a != 0) {
        const uint32_t ia = 255 - a;
        const uint32_t r = (((s >> 16) & 0xFF) * a + ((d >> 16) & 0xFF) * ia) >> 8;
        const uint32_t g = (((s >> 8) & 0xFF) * a + ((d >> 8) & 0xFF) * ia) >> 8;
        const uint32_t b = ((s & 0xFF) * a + (d & 0xFF) * ia) >> 8;
        d = (r << 16) | (g << 8) | b;
    }
}

}  // namespace

int DrawSprite(const FrameView& frame, int width, int height, const SpriteSheet& sheet, int dstX, int dstY,
               int srcX, int srcY) {
    if (frame.pixels == nullptr || sheet.pixels == nullptr) return 0;
    const int64_t frameW = frame.width, frameH = frame.height;
    const int64_t sheetW = SheetWidth(sheet);
    const int64_t sheetH = SheetHeight(sheet);
    int64_t w = width, h = height;
    int64_t sx = srcX, sy = srcY, dx = dstX, dy = dstY;
    // Keep the source rectangle inside the sheet, moving the destination
    // along with its cut left and top edges.
    if (sx < 0) { w += sx; dx -= sx; sx = 0; }
    if (sy < 0) { h += sy; dy -= sy; sy = 0; }
    w = std::min(w, sheetW - sx);
    h = std::min(h, sheetH - sy);
    // Frame edges: right and bottom, then left and top.
    if (w + dx >= frameW) w = frameW - dx;
    if (h + dy >= frameH) h = frameH - dy;
    const int64_t skipX = dx < 0 ? -dx : 0;
    const int64_t skipY = dy < 0 ? -dy : 0;
    if (skipY >= h || skipX >= w) return 0;
    const int64_t cols = w - skipX;
    const uint32_t* src = sheet.pixels + (sy + skipY) * sheetW + sx + skipX;
    uint32_t* dst = frame.pixels + (dy + skipY) * frameW + dx + skipX;
    for (int64_t row = skipY; row < h; ++row) {
        // Four pixels at a time: all opaque are copied, all clear skipped,
        // only a mixed group goes pixel by pixel.
        int64_t c = 0;
        for (; c + 4 <= cols; c += 4) {
            const uint32_t s0 = src[c], s1 = src[c + 1], s2 = src[c + 2], s3 = src[c + 3];
            const uint32_t all = s0 & s1 & s2 & s3, any = s0 | s1 | s2 | s3;
            if ((all >> 24) == 255) {
                std::memcpy(dst + c, src + c, 4 * sizeof(uint32_t));
            } else if ((any >> 24) != 0) {
                for (int k = 0; k < 4; ++k) BlendPixel(src[c + k], dst[c + k]);
            }
        }
        for (; c < cols; ++c) BlendPixel(src[c], dst[c]);
        src += sheetW;
        dst += frameW;
    }
    return 0;
}

}  // namespace mervox
