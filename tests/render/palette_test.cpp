#include <gtest/gtest.h>

#include "render/palette.h"

#include <algorithm>

namespace mervox {
namespace {

class PaletteTest : public ::testing::Test {
  protected:
    void SetUp() override { CreatePalette(p); }
    void TearDown() override { ReleasePalette(p); }
    Palette p;
};

// Channels of a 0x00BBGGRR colour.
int Red(uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
bool Neutral(uint32_t c) { return Red(c) == Green(c) && Green(c) == Blue(c); }
// Every channel of `a` at most that of `b`.
bool NoLighter(uint32_t a, uint32_t b) { return Red(a) <= Red(b) && Green(a) <= Green(b) && Blue(a) <= Blue(b); }

TEST_F(PaletteTest, ShadesBrightenTenAStepUntilTheySaturate) {
    for (int f = 0; f < kColourFamilies; ++f) {
        for (int s = 0; s + 1 < kShades; ++s) {
            const uint32_t a = p.ShadeBrushes[f][s].colour, b = p.ShadeBrushes[f][s + 1].colour;
            for (int (*channel)(uint32_t) : {Red, Green, Blue}) {
                EXPECT_LE(channel(b), 250) << f << " " << s;
                EXPECT_EQ(channel(b), std::min(channel(a) + 10, 250)) << f << " " << s;
            }
        }
        EXPECT_FALSE(p.ShadeBrushes[f][0].isNull);
    }
}

TEST_F(PaletteTest, EachFamilyKeepsItsHueAtEveryShade) {
    for (int s = 0; s < kShades; ++s) {
        const uint32_t blue = p.ShadeBrushes[0][s].colour, yellow = p.ShadeBrushes[paint::kWarmYellow][s].colour;
        const uint32_t pink = p.ShadeBrushes[2][s].colour, green = p.ShadeBrushes[3][s].colour;
        EXPECT_GT(Blue(blue), Red(blue)) << s;
        EXPECT_GT(Red(yellow), Blue(yellow)) << s;
        EXPECT_GT(Green(yellow), Blue(yellow)) << s;
        EXPECT_GT(Red(pink), Green(pink)) << s;
        EXPECT_GT(Blue(pink), Green(pink)) << s;
        EXPECT_GT(Green(green), Red(green)) << s;
        EXPECT_GT(Green(green), Blue(green)) << s;
        EXPECT_TRUE(Neutral(p.ShadeBrushes[4][s].colour)) << s;
        for (int f = 0; f < kColourFamilies; ++f)
            EXPECT_TRUE(NoLighter(p.DarkBrushes[f].colour, p.ShadeBrushes[f][0].colour)) << f;
    }
}

TEST_F(PaletteTest, ShadePensWidenEveryOtherShadeAndTrailTheBrushesByFive) {
    for (int f = 0; f < kColourFamilies; ++f) {
        EXPECT_EQ(p.ShadePens[f][0].width, 1);
        for (int s = 0; s < kShades; ++s) {
            EXPECT_TRUE(NoLighter(p.ShadePens[f][s].colour, p.ShadeBrushes[f][s].colour)) << f << " " << s;
            if (s > 0) {
                EXPECT_EQ(p.ShadePens[f][s].width, p.ShadePens[f][s - 1].width + (s % 2 == 0 ? 1 : 0)) << f << " " << s;
            }
        }
        for (int s = 5; s < kShades; ++s) {
            EXPECT_EQ(p.ShadePens[f][s].colour, p.ShadeBrushes[f][s - 5].colour) << f << " " << s;
        }
    }
}

TEST_F(PaletteTest, GreysAndTheNamedPensRunFromDarkToLight) {
    EXPECT_EQ(p.GreyBrushes[0].colour, 0u);
    for (int k = 0; k < kGreyShades; ++k) {
        EXPECT_TRUE(Neutral(p.GreyBrushes[k].colour)) << k;
        EXPECT_EQ(Red(p.GreyBrushes[k].colour), 10 * k) << k;
    }
    EXPECT_EQ(p.WhiteBrush.colour, p.GreyBrushes[paint::kLightestGrey].colour);
    EXPECT_LT(paint::kMarkerGrey, paint::kBandGrey);
    EXPECT_TRUE(p.FixedPens[paint::kNoPen].isNull);
    const int drawn[4] = {paint::kOutlinePen, paint::kGreyPen, paint::kLightGreyPen, paint::kPaleGreyPen};
    for (int k = 0; k < 4; ++k) {
        const Pen& pen = p.FixedPens[drawn[k]];
        EXPECT_FALSE(pen.isNull) << k;
        EXPECT_EQ(pen.width, 1) << k;
        EXPECT_TRUE(Neutral(pen.colour)) << k;
        if (k > 0) {
            EXPECT_GT(Red(pen.colour), Red(p.FixedPens[drawn[k - 1]].colour)) << k;
        }
    }
    // Outlines stand out against the board map's white and the floor.
    EXPECT_LT(Red(p.FixedPens[paint::kOutlinePen].colour), Red(p.GreyBrushes[paint::kMarkerGrey].colour));
}

TEST_F(PaletteTest, Fonts) {
    EXPECT_EQ(p.CaptionFont.cellHeight, 18);
    EXPECT_EQ(p.CaptionFont.weight, 600);
    EXPECT_EQ(p.SmallFont.cellHeight, 16);
    EXPECT_EQ(p.SmallFont.weight, 400);
    EXPECT_NE(p.CaptionFont.face, nullptr);
    // The em is smaller than the cell: the cell holds ascent and descent.
    EXPECT_LT(p.CaptionFont.emSize, 18.0);
    EXPECT_GT(p.CaptionFont.emSize, 12.0);
}

TEST(PaletteRelease, ReleasingTwiceIsHarmless) {
    Palette p;
    CreatePalette(p);
    ReleasePalette(p);
    ReleasePalette(p);
    EXPECT_EQ(p.CaptionFont.face, nullptr);
    EXPECT_FALSE(p.created);
}

}  // namespace
}  // namespace mervox
