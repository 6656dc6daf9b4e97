// Caption text through Cairo and FreeType.
#include <gtest/gtest.h>

#include <vector>

#include "draw/text_drawing.h"

namespace mervox {
namespace {

struct TextCanvas {
    std::vector<uint32_t> px = std::vector<uint32_t>(200 * 60, 0x00FFFFFFu);
    DrawContext dc = MakeDrawContext(px.data(), 200, 60);
    // Rows that got any ink, and the amount of ink.
    int firstRow = -1, lastRow = -1;
    long ink = 0;
    void measure() {
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 200; ++x) {
                const uint32_t p = px[y * 200 + x] & 0x00FFFFFF;
                if (p == 0x00FFFFFF) continue;
                if (firstRow < 0) firstRow = y;
                lastRow = y;
                ink += 255 - (p & 0xFF);
            }
        }
    }
};

TEST(Text, CaptionGlyphsStayInsideTheCellBelowTheGivenTop) {
    Font font = CreateGameFont(kDefaultFontFile, 18, 400);
    ASSERT_NE(font.face, nullptr) << "the gothic font file is missing";
    EXPECT_NEAR(font.ascent, 16, 2);  // most of an 18-pixel cell is above the baseline
    TextCanvas c;
    SelectFont(c.dc, &font);
    SetTextColour(c.dc, 0x505050);
    const char16_t text[] = u"同じ色のブロック";
    TextOutW(c.dc, 10, 20, text, 8);
    c.measure();
    ASSERT_GE(c.firstRow, 0);
    EXPECT_GE(c.firstRow, 20);
    EXPECT_LT(c.lastRow, 20 + 18);
    EXPECT_GT(c.lastRow - c.firstRow, 10);  // full-height kanji
    // The ink is the text colour (grey 0x50) blended over white: never darker.
    for (uint32_t p : c.px) EXPECT_GE(p & 0xFF, 0x50u);
    ReleaseFont(font);
}

TEST(Text, WeightSixHundredIsDrawnEmboldened) {
    Font regular = CreateGameFont(kDefaultFontFile, 18, 400);
    Font semibold = CreateGameFont(kDefaultFontFile, 18, 600);
    ASSERT_NE(regular.face, nullptr);
    TextCanvas a, b;
    SelectFont(a.dc, &regular);
    SelectFont(b.dc, &semibold);
    const char16_t text[] = u"ブロックを消す";
    TextOutW(a.dc, 5, 5, text, 7);
    TextOutW(b.dc, 5, 5, text, 7);
    a.measure();
    b.measure();
    EXPECT_GT(b.ink, a.ink * 11 / 10);
    ReleaseFont(regular);
    ReleaseFont(semibold);
}

TEST(Text, MissingFontOrEmptyTextDrawsNothing) {
    Font none;  // never created
    TextCanvas c;
    SelectFont(c.dc, &none);
    TextOutW(c.dc, 5, 5, u"abc", 3);
    TextOutW(c.dc, 5, 5, u"", 0);
    c.measure();
    EXPECT_EQ(c.ink, 0);
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x", 2), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(u"３", 1), "\xEF\xBC\x93");
}

}  // namespace
}  // namespace mervox
