#include <gtest/gtest.h>

#include "render/palette.h"

namespace mervox {
namespace {

class PaletteTest : public ::testing::Test {
  protected:
    void SetUp() override { CreatePalette(p); }
    void TearDown() override { ReleasePalette(p); }
    Palette p;
};

TEST_F(PaletteTest, ShadeBrushesFollowTheFamilyFormulasWithSaturation) {
    EXPECT_EQ(p.ShadeBrushes[1][0].colour, 0x96B4C8u);
    EXPECT_EQ(p.ShadeBrushes[2][9].colour, 0xF0BEFAu);
    EXPECT_EQ(p.ShadeBrushes[0][0].colour, 0xC8A096u);
    EXPECT_EQ(p.ShadeBrushes[3][4].colour, 0xBEE6AAu);
    EXPECT_EQ(p.ShadeBrushes[4][7].colour, 0xDCDCDCu);
    // From shade 5 up the saturated channel of families 0-3 stays at 250.
    for (int s = 5; s < 10; ++s) {
        EXPECT_EQ((p.ShadeBrushes[0][s].colour >> 16) & 0xFF, 250u) << s;  // blue
        EXPECT_EQ(p.ShadeBrushes[1][s].colour & 0xFF, 250u) << s;          // red
        EXPECT_EQ(p.ShadeBrushes[2][s].colour & 0xFF, 250u) << s;
        EXPECT_EQ((p.ShadeBrushes[3][s].colour >> 8) & 0xFF, s >= 6 ? 250u : 240u) << s;
    }
    EXPECT_FALSE(p.ShadeBrushes[0][0].isNull);
}

TEST_F(PaletteTest, ShadePensWidthsAndColours) {
    EXPECT_EQ(p.ShadePens[3][9].colour, 0xBEE6AAu);
    EXPECT_EQ(p.ShadePens[3][9].width, 5);
    EXPECT_EQ(p.ShadePens[4][0].colour, 0x646464u);
    EXPECT_EQ(p.ShadePens[4][0].width, 1);
    EXPECT_EQ(p.ShadePens[0][0].colour, 0x966E64u);
    const int widths[10] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 5};
    for (int f = 0; f < 5; ++f) {
        for (int s = 0; s < 10; ++s) EXPECT_EQ(p.ShadePens[f][s].width, widths[s]);
        for (int s = 5; s < 10; ++s) {
            EXPECT_EQ(p.ShadePens[f][s].colour, p.ShadeBrushes[f][s - 5].colour) << f << " " << s;
        }
    }
}

TEST_F(PaletteTest, FixedEntriesGreysAndFonts) {
    const uint32_t dark[5] = {0x966E64, 0x466478, 0x5A288C, 0x5A8246, 0x505050};
    for (int f = 0; f < 5; ++f) EXPECT_EQ(p.DarkBrushes[f].colour, dark[f]);
    EXPECT_EQ(p.GreyBrushes[0].colour, 0u);
    EXPECT_EQ(p.GreyBrushes[16].colour, 0xA0A0A0u);
    EXPECT_EQ(p.GreyBrushes[25].colour, 0xFAFAFAu);
    EXPECT_EQ(p.WhiteBrush.colour, p.GreyBrushes[25].colour);
    EXPECT_EQ(p.FixedPens[0].colour, 0x282828u);
    EXPECT_TRUE(p.FixedPens[1].isNull);
    EXPECT_EQ(p.FixedPens[2].colour, 0x787878u);
    EXPECT_EQ(p.FixedPens[3].colour, 0xC8C8C8u);
    EXPECT_EQ(p.FixedPens[4].colour, 0xDCDCDCu);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(p.FixedPens[k].width, 1);
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
