// Fuzzes the sprite sheets (data/number.png, title.png, rank.png): decoding
// through libpng's error path, then the copy into the frame of rectangles of
// every size the game draws, tiled over the whole sheet and hanging over
// every edge of the frame.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/sprite_sheet.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

// Widths and heights of the rectangles the game copies: digit cells, the
// 75 x 20 combo label, the 60 x 20 menu and rank labels, title pieces.
constexpr int kSizes[][2] = {{16, 24}, {12, 16}, {75, 20}, {60, 20}, {640, 480}, {320, 120}, {1, 1}};
constexpr int kPlaces[][2] = {{0, 0}, {-30, -10}, {620, 470}, {-700, 0}, {0, 500}, {311, 229}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<uint32_t> frame(kWidth * kHeight);
    mervox::SpriteSheet sheet;
    if (!mervox::LoadPngImageFromMemory(data, size, sheet)) {
        if (sheet.pixels != nullptr) std::abort();  // a failed load leaves the sheet as it was
        return 0;
    }
    const int w = mervox::SheetWidth(sheet), h = mervox::SheetHeight(sheet);
    if (w <= 0 || h <= 0) std::abort();
    for (const auto& s : kSizes) {
        // Tiles over the sheet, one past its right and bottom edges.
        for (int sy = -s[1]; sy <= h && sy < 64 * s[1]; sy += s[1])
            for (int sx = -s[0]; sx <= w && sx < 64 * s[0]; sx += s[0])
                mervox::DrawSprite(frame.data(), s[0], s[1], sheet, (sx * 7) % kWidth, (sy * 3) % kHeight, sx, sy);
        for (const auto& p : kPlaces) mervox::DrawSprite(frame.data(), s[0], s[1], sheet, p[0], p[1], 0, 0);
    }
    mervox::FreeSpriteSheet(sheet);
    return 0;
}
