// Sprite copies (clipping and blending), PNG decoding, digit strings.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "draw/frame_buffer.h"
#include "render/digit_strings.h"
#include "render/sprite_sheet.h"
#include "test_images.h"

namespace mervox {
namespace {

using testing::MakeSolidSheet;
using testing::MakeSourceSheet;
using testing::SourceCode;

struct Frame {
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
    Frame(uint32_t fill = 0) { std::fill(std::begin(fb->pixels), std::end(fb->pixels), fill); }
    uint32_t& at(int x, int y) { return fb->pixels[y * kFrameWidth + x]; }
    int countNot(uint32_t v) {
        int n = 0;
        for (uint32_t p : fb->pixels) n += p != v;
        return n;
    }
};

TEST(DrawSprite, BlendDividesBy256AndOpaqueAndClearPixelsAreExact) {
    SpriteSheet half = MakeSolidSheet(4, 4, 0x80FFFFFF);
    Frame black(0x00000000);
    DrawSprite(black.fb->pixels, 1, 1, half, 10, 10, 0, 0);
    EXPECT_EQ(black.at(10, 10), 0x007F7F7Fu);
    Frame white(0x00FFFFFF);
    DrawSprite(white.fb->pixels, 1, 1, half, 10, 10, 0, 0);
    EXPECT_EQ(white.at(10, 10), 0x00FEFEFEu);

    SpriteSheet opaque = MakeSolidSheet(4, 4, 0xFF123456);
    Frame f(0x00ABCDEF);
    DrawSprite(f.fb->pixels, 2, 2, opaque, 5, 5, 0, 0);
    EXPECT_EQ(f.at(5, 5), 0xFF123456u);
    EXPECT_EQ(f.at(6, 6), 0xFF123456u);
    EXPECT_EQ(f.at(7, 6), 0x00ABCDEFu);

    SpriteSheet clear = MakeSolidSheet(4, 4, 0x00123456);
    DrawSprite(f.fb->pixels, 4, 4, clear, 20, 20, 0, 0);
    EXPECT_EQ(f.at(21, 21), 0x00ABCDEFu);
    FreeSpriteSheet(half);
    FreeSpriteSheet(opaque);
    FreeSpriteSheet(clear);
}

TEST(DrawSprite, ClipsAtEveryFrameEdge) {
    SpriteSheet s = MakeSourceSheet(100, 50, 0);
    Frame f;
    // Left: five columns lost; x = 0 shows source column srcX + 5.
    DrawSprite(f.fb->pixels, 20, 10, s, -5, 100, 30, 7);
    EXPECT_EQ(f.at(0, 100), SourceCode(35, 7));
    EXPECT_EQ(f.at(14, 109), SourceCode(49, 16));
    EXPECT_EQ(f.at(15, 100), 0u);
    // Top.
    DrawSprite(f.fb->pixels, 10, 10, s, 200, -3, 0, 0);
    EXPECT_EQ(f.at(200, 0), SourceCode(0, 3));
    EXPECT_EQ(f.at(200, 6), SourceCode(0, 9));
    EXPECT_EQ(f.at(200, 7), 0u);
    // Right and bottom: cut at the frame edge.
    DrawSprite(f.fb->pixels, 20, 20, s, 630, 470, 0, 0);
    EXPECT_EQ(f.at(639, 479), SourceCode(9, 9));
    EXPECT_EQ(f.at(630, 470), SourceCode(0, 0));
    // Entirely outside: nothing at all.
    Frame g;
    DrawSprite(g.fb->pixels, 20, 20, s, 640, 10, 0, 0);
    DrawSprite(g.fb->pixels, 20, 20, s, 10, 480, 0, 0);
    DrawSprite(g.fb->pixels, 20, 20, s, -20, 10, 0, 0);
    DrawSprite(g.fb->pixels, 20, 20, s, 2000000000, 2000000000, 0, 0);
    DrawSprite(g.fb->pixels, 20, 20, s, -2000000000, -2000000000, 0, 0);
    EXPECT_EQ(g.countNot(0), 0);
    FreeSpriteSheet(s);
}

TEST(DrawSprite, SourceRectanglesOutsideTheSheetAreClippedAndUnloadedSheetsDrawNothing) {
    SpriteSheet s = MakeSourceSheet(30, 20, 0);
    Frame f;
    // Asks for 20 x 20 at (20, 10): only 10 x 10 exist.
    DrawSprite(f.fb->pixels, 20, 20, s, 100, 100, 20, 10);
    EXPECT_EQ(f.at(109, 109), SourceCode(29, 19));
    EXPECT_EQ(f.at(110, 100), 0u);
    EXPECT_EQ(f.at(100, 110), 0u);
    EXPECT_EQ(f.countNot(0), 100);
    // A negative source corner moves the picture with it.
    Frame g;
    DrawSprite(g.fb->pixels, 10, 10, s, 50, 50, -4, -2);
    EXPECT_EQ(g.at(54, 52), SourceCode(0, 0));
    EXPECT_EQ(g.at(53, 52), 0u);
    EXPECT_EQ(g.countNot(0), 6 * 8);
    FreeSpriteSheet(s);

    SpriteSheet none;
    Frame h;
    EXPECT_EQ(DrawSprite(h.fb->pixels, 50, 50, none, 0, 0, 0, 0), 0);
    EXPECT_EQ(h.countNot(0), 0);
}

TEST(DigitStrings, GlyphsAdvanceByTheCellAndExtraGlyphsHaveTheirOwnPlace) {
    SpriteSheet number = MakeSourceSheet(640, 240, 0);
    Frame f;
    // 123 as "%05d" from the small strip at x0 = 141: 0 0 1 2 3 at 141..221.
    DrawDigitString(f.fb->pixels, number, "00123", 5, 141, 300, kSmallDigits);
    const int expectDigit[5] = {0, 0, 1, 2, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(f.at(141 + 20 * i, 300), SourceCode(20 * expectDigit[i], 75)) << i;
        EXPECT_EQ(f.at(141 + 20 * i + 19, 319), SourceCode(20 * expectDigit[i] + 19, 94)) << i;
    }
    EXPECT_EQ(GlyphSourceX(kSmallDigits, 'x'), 200);
    EXPECT_EQ(GlyphSourceX(kTinyDigits, '.'), 200);
    EXPECT_EQ(GlyphSourceX(kTinyDigits, '7'), 90 + 77);
    EXPECT_EQ(GlyphSourceX(kLargeDigits, '9'), 405);
    EXPECT_EQ(GlyphSourceX(kMediumDigits, '4'), 120);
    // A glyph at x 640 or more is skipped; the count never runs past the text.
    Frame g;
    DrawDigitString(g.fb->pixels, number, "12", 9, 620, 0, kSmallDigits);
    EXPECT_EQ(g.at(620, 0), SourceCode(20, 75));
    EXPECT_EQ(g.countNot(0), 20 * 20);
    // The callers' loops: glyphs while x < end.
    Frame h;
    DrawDigitsUntil(h.fb->pixels, number, "012.34", 562, 628, 459, kTinyDigits);
    EXPECT_EQ(h.at(562 + 33, 459), SourceCode(200, 71));  // the full stop is the fourth glyph
    EXPECT_EQ(h.at(617, 459), SourceCode(90 + 44, 71));  // the sixth glyph is 4
    FreeSpriteSheet(number);
}

// --- PNG decoding ---------------------------------------------------------

uint32_t Word(const SpriteSheet& s, int x, int y) { return s.pixels[y * SheetWidth(s) + x]; }

TEST(PngLoading, RgbGetsFullAlphaAndTheSheetHasTheImagesSize) {
    testing::PngPicture rgb;
    rgb.width = 2;
    rgb.height = 2;
    rgb.rows = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    const auto file = testing::EncodePng(rgb);
    SpriteSheet s;
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0xFF0A141Eu);
    EXPECT_EQ(Word(s, 1, 1), 0xFF646E78u);
    EXPECT_EQ(s.width, 2);
    EXPECT_EQ(s.height, 2);
    FreeSpriteSheet(s);
    EXPECT_EQ(s.pixels, nullptr);
}

TEST(PngLoading, PaletteWithTransparencySixteenBitAndGreyImages) {
    testing::PngPicture pal;
    pal.width = 3;
    pal.colourType = PNG_COLOR_TYPE_PALETTE;
    pal.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    pal.trnsAlpha = {0, 128};
    pal.rows = {0, 1, 2};
    auto file = testing::EncodePng(pal);
    SpriteSheet s;
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0x00FF0000u);
    EXPECT_EQ(Word(s, 1, 0), 0x8000FF00u);
    EXPECT_EQ(Word(s, 2, 0), 0xFF0000FFu);  // beyond the tRNS entries: opaque

    testing::PngPicture deep;
    deep.width = 1;
    deep.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.bitDepth = 16;
    deep.rows = {0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00, 0x80, 0x01};
    file = testing::EncodePng(deep);
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0x8012ABFFu);

    testing::PngPicture greyAlpha;
    greyAlpha.width = 1;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {0x40, 0x90};
    file = testing::EncodePng(greyAlpha);
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0x90404040u);

    testing::PngPicture bits;
    bits.width = 8;
    bits.colourType = PNG_COLOR_TYPE_GRAY;
    bits.bitDepth = 1;
    bits.rows = {0xA0};  // 1 0 1 0 0 0 0 0
    file = testing::EncodePng(bits);
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Word(s, 1, 0), 0xFF000000u);
    EXPECT_EQ(Word(s, 2, 0), 0xFFFFFFFFu);

    testing::PngPicture greyKey;
    greyKey.width = 2;
    greyKey.colourType = PNG_COLOR_TYPE_GRAY;
    greyKey.greyTrns = true;
    greyKey.greyTrnsValue = 7;
    greyKey.rows = {7, 8};
    file = testing::EncodePng(greyKey);
    ASSERT_TRUE(LoadPngImageFromMemory(file.data(), file.size(), s));
    EXPECT_EQ(Word(s, 0, 0), 0x00070707u);
    EXPECT_EQ(Word(s, 1, 0), 0xFF080808u);
    FreeSpriteSheet(s);
}

TEST(PngLoading, BrokenFilesLeaveTheSheetAsItWas) {
    testing::PngPicture grey;
    grey.width = 16;
    grey.height = 16;
    grey.rows.assign(16 * 16 * 3, 0x55);
    const auto good = testing::EncodePng(grey);
    SpriteSheet s = MakeSolidSheet(3, 3, 0xFF010203);
    uint32_t* before = s.pixels;

    // Every truncation that cuts into the signature, the header or the
    // image data (the last 24 bytes are the data's check values and the
    // end chunk, which decoding the rows never reaches).
    for (size_t n = 0; n + 24 < good.size(); n += 3) {
        EXPECT_FALSE(LoadPngImageFromMemory(good.data(), n, s)) << n;
        EXPECT_EQ(s.pixels, before);
        EXPECT_EQ(s.width, 3);
    }
    // A damaged body (CRC and data errors).
    auto bad = good;
    for (size_t k = 40; k < bad.size() - 12; ++k) bad[k] ^= 0x5A;
    EXPECT_FALSE(LoadPngImageFromMemory(bad.data(), bad.size(), s));
    // Not a PNG at all.
    const uint8_t text[] = "GIF89a and then some more bytes";
    EXPECT_FALSE(LoadPngImageFromMemory(text, sizeof text, s));
    EXPECT_FALSE(LoadPngImageFromMemory(nullptr, 0, s));
    EXPECT_EQ(s.pixels, before);
    EXPECT_EQ(Word(s, 2, 2), 0xFF010203u);

    // Missing file.
    LoadPngImage("/nonexistent/dir/number.png", s);
    EXPECT_EQ(s.pixels, before);

    // From a real file on disk.
    const std::string path = ::testing::TempDir() + "/mervox-sheet.png";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(good.data(), 1, good.size(), f);
    std::fclose(f);
    LoadPngImage(path, s);
    ASSERT_NE(s.pixels, nullptr);
    EXPECT_EQ(SheetWidth(s), 16);
    EXPECT_EQ(SheetHeight(s), 16);
    EXPECT_EQ(Word(s, 15, 15), 0xFF555555u);
    std::remove(path.c_str());
    FreeSpriteSheet(s);
}

}  // namespace
}  // namespace mervox
