// Where the three-dimensional parts of the scene land: block faces and
// their shades, wipes, fading boxes, announcements, rings, arrows, rim.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "draw/draw_objects.h"
#include "game/simulation.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/scene_drawing.h"
#include "round_scene.h"
#include "test_images.h"

namespace mervox {
namespace {

class SceneGeometry : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::StartEmptyRoundScene(*g);
        g->PlayerX = 150;  // out of the way, near the left edge
        g->PlayerZ = 50;
        CreatePalette(res.palette);
        res.NumberSheet = testing::MakeSourceSheet(640, 240, 0);
    }
    void TearDown() override { ReleaseRenderResources(res); }

    uint32_t Seen(float x, float y, float z) const {
        const ScreenPoint p = ProjectPoint(*g, g->DrawCamera, x, y, z);
        return fb->pixels[p.y * kFrameWidth + p.x];
    }
    uint32_t Shade(int family, int shade) const { return ColourToPixel(res.palette.ShadeBrushes[family][shade].colour); }
    BlockSlot& Place(int i, int j, int layer, int colour) {
        BlockSlot& s = g->Board[i][j][layer];
        s.state = Solid;
        s.colour = colour;
        s.height = 100.0f * layer;
        return s;
    }
    void Draw() { DrawScene(*g, res, *fb); }

    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
    RenderResources res;
};

TEST_F(SceneGeometry, RestingBlockShowsItsTopAndFrontFacesInTheirShades) {
    Place(3, 3, 0, 2);
    Draw();
    EXPECT_EQ(Seen(350, 100, 350), Shade(2, 4));  // top
    EXPECT_EQ(Seen(350, 50, 300), Shade(2, 2));   // -z face toward the camera
    // Left of the camera: the +x face shows in shade 1.
    Place(0, 4, 0, 3);
    Draw();
    EXPECT_EQ(Seen(100, 50, 450), Shade(3, 1));
    EXPECT_EQ(Seen(50, 100, 450), Shade(3, 4));
    // Right of the camera: the -x face in shade 3.
    Place(6, 4, 0, 0);
    Draw();
    EXPECT_EQ(Seen(600, 50, 450), Shade(0, 3));
}

TEST_F(SceneGeometry, VanishingBlockIsLighterAndWipedFromTheCentre) {
    BlockSlot& b = Place(3, 3, 0, 1);
    b.state = Vanishing;
    b.vanishTimer = 150;  // shade offset 2; wipe f = 1/6: dark square of side 16.7
    Draw();
    EXPECT_EQ(Seen(350 + 30, 100, 350), Shade(1, 6));
    EXPECT_EQ(Seen(350 + 5, 100, 350 + 5), ColourToPixel(res.palette.DarkBrushes[1].colour));
    EXPECT_EQ(Seen(350 + 30, 50, 300), Shade(1, 4));
    // Two thirds through: a dark square of side 66.7 whose middle (side
    // 100 f^3 = 29.6) shows the face's brush again; shade offset 1.
    b.vanishTimer = 60;
    Draw();
    EXPECT_EQ(Seen(350 + 25, 100, 350), ColourToPixel(res.palette.DarkBrushes[1].colour));
    EXPECT_EQ(Seen(350 + 5, 100, 350 + 5), Shade(1, 5));
    EXPECT_EQ(Seen(350 + 42, 100, 350), Shade(1, 5));
}

TEST_F(SceneGeometry, FadingBlockShrinksAndArrivingBlockIsTwoSquares) {
    BlockSlot& b = Place(3, 3, 0, 0);
    b.state = Fading;
    b.vanishTimer = 5;  // a 50-unit box centred in the cell: top at 75
    Draw();
    EXPECT_EQ(Seen(350, 75, 350), Shade(0, 4));
    const uint32_t floor = Seen(310, 0, 390);
    EXPECT_NE(floor, Shade(0, 4));
    EXPECT_NE(Seen(350, 100, 390), Shade(0, 4));

    b.state = Solid;
    b.vanishTimer = 0;
    b.arriveTimer = 60;  // squares at heights 125 (shade 3) and 175 (shade 9)
    Draw();
    EXPECT_EQ(Seen(350, 175, 350), Shade(0, 9));
    EXPECT_NE(Seen(350, 100, 350), Shade(0, 4));  // no box
}

TEST_F(SceneGeometry, VanishRingSurroundsTheCellBelowTheBoard) {
    g->RunMode = RunTitle;  // rings belong to the layers under the title too
    BlockSlot& b = g->Board[3][3][0];
    b.colour = 3;
    b.popupTimer = 10;
    b.chainSlot = 0;
    g->ChainSlots[0] = ChainSlot{1, 3, 100, 0};
    // k = 12, v = (900 - 100) / 12 = 66, w = 66 - 10 = 56: a band from 56
    // to 66 units outside the cell, drawn 20 units below the board.
    Draw();
    const uint32_t ring = Shade(3, 2);
    EXPECT_EQ(Seen(300 - 61, -20, 350), ring);
    EXPECT_EQ(Seen(400 + 61, -20, 350), ring);
    EXPECT_EQ(Seen(350, -20, 400 + 61), ring);
    EXPECT_NE(Seen(300 - 40, -20, 350), ring);
    EXPECT_NE(Seen(300 - 75, -20, 350), ring);
    b.popupTimer = 0;
    Draw();
    EXPECT_NE(Seen(300 - 61, -20, 350), ring);
}

TEST_F(SceneGeometry, PushArrowsAndTheirLabelsBelowLevelFive) {
    g->PlayerX = 350;
    g->PlayerZ = 150;
    g->PushIntent = IntentPlusX;  // toward +x
    g->Level = 4;
    Draw();
    EXPECT_EQ(Seen(350 + 36, 50, 150), ColourToPixel(0xA0A0A0));
    const ScreenPoint label = ProjectPoint(*g, g->DrawCamera, 350 + 40, 50, 150 + 15);
    // The label's corner: half its width left of the anchor, 20 above it.
    const SheetRect& r = sheet::kPushArrowLabel;
    const size_t corner = static_cast<size_t>(label.y - 20) * kFrameWidth + label.x - r.w / 2;
    EXPECT_EQ(fb->pixels[corner], testing::SourceCode(r.x, r.y));
    EXPECT_NE(Seen(350 - 36, 50, 150), ColourToPixel(0xA0A0A0));
    g->Level = 5;
    Draw();
    EXPECT_NE(fb->pixels[corner], testing::SourceCode(r.x, r.y));
    g->PushIntent = IntentMinusX | IntentMinusZ;
    Draw();
    EXPECT_EQ(Seen(350 - 36, 50, 150), ColourToPixel(0xA0A0A0));
    EXPECT_EQ(Seen(350, 50, 150 - 36), ColourToPixel(0xA0A0A0));
    EXPECT_NE(Seen(350 + 36, 50, 150), ColourToPixel(0xA0A0A0));
}

TEST_F(SceneGeometry, BoardRimIsDrawnFiftyUnitsAbove) {
    g->RunMode = RunTitle;
    Draw();
    const uint32_t pen = ColourToPixel(0x787878);
    auto nearPen = [&](float x, float y, float z) {
        const ScreenPoint p = ProjectPoint(*g, g->DrawCamera, x, y, z);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                if (fb->pixels[(p.y + dy) * kFrameWidth + p.x + dx] == pen) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(nearPen(350, 50, 0));   // front edge, raised
    EXPECT_TRUE(nearPen(0, 50, 350));   // left edge
    EXPECT_TRUE(nearPen(700, 50, 350));  // right edge
    EXPECT_TRUE(nearPen(350, 50, 700));  // back edge
    EXPECT_TRUE(nearPen(350, 0, 200));   // an inner grid line at board height
    EXPECT_FALSE(nearPen(350, 50, 250));  // no raised lines inside the board
    // From level 25 the grids swap pens.
    g->Level = 25;
    g->BackgroundGrid[1][0].y = -400;
    Draw();
    EXPECT_FALSE(nearPen(350, 0, 200));
}

}  // namespace
}  // namespace mervox

namespace mervox {
namespace {

// The pixels that turning the colour marks on changes.
std::vector<int> MarkPixels(const FrameBuffer& off, const FrameBuffer& on) {
    std::vector<int> changed;
    for (int k = 0; k < kFrameWidth * kFrameHeight; ++k)
        if (off.pixels[k] != on.pixels[k]) changed.push_back(k);
    return changed;
}

// Pixels in one set and not in the other, against the size of the larger.
double Unlike(const std::vector<int>& a, const std::vector<int>& b) {
    std::vector<int> only;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
    return static_cast<double>(only.size()) / static_cast<double>(std::max(a.size(), b.size()));
}

TEST_F(SceneGeometry, ColourMarksTellEveryColourApartInEveryStateAndStayOnTheirBlock) {
    struct Look {
        const char* what;
        void (*set)(BlockSlot& s);
    };
    const Look looks[] = {
        {"resting", [](BlockSlot&) {}},
        {"sliding", [](BlockSlot& s) { s.offsetX = 30; }},
        {"falling", [](BlockSlot& s) { s.height = 160; }},
        {"sinking", [](BlockSlot& s) { s.height = -40; }},
        {"flashing", [](BlockSlot& s) {
             s.state = Vanishing;
             s.vanishTimer = 100;
         }},
        {"wiped dark", [](BlockSlot& s) {
             s.state = Vanishing;
             s.vanishTimer = 50;
         }},
        {"announced", [](BlockSlot& s) { s.arriveTimer = 60; }},
    };
    auto empty = std::make_unique<FrameBuffer>();
    auto off = std::make_unique<FrameBuffer>();
    auto on = std::make_unique<FrameBuffer>();
    res.colourMarks = false;
    DrawScene(*g, res, *empty);
    for (const Look& look : looks) {
        std::vector<int> marks[kColourFamilies];
        std::vector<int> block;  // where the block lies: drawn blue, no shade of it is the floor's grey
        for (int c = 0; c < kColourFamilies; ++c) {
            look.set(Place(3, 3, 0, c));
            res.colourMarks = false;
            DrawScene(*g, res, *off);
            res.colourMarks = true;
            DrawScene(*g, res, *on);
            g->Board[3][3][0] = BlockSlot{};
            g->Board[3][3][0].chainSlot = -1;
            marks[c] = MarkPixels(*off, *on);
            EXPECT_GT(marks[c].size(), 60u) << look.what << ", colour " << c;
            // Only the block's own pixels (on the board and on the map) change.
            if (c == 0) block = MarkPixels(*empty, *off);
            EXPECT_TRUE(std::includes(block.begin(), block.end(), marks[c].begin(), marks[c].end()))
                << look.what << ", colour " << c;
        }
        // The same block in each colour: the marks alone differ widely.
        for (int a = 0; a < kColourFamilies; ++a)
            for (int b = a + 1; b < kColourFamilies; ++b)
                EXPECT_GT(Unlike(marks[a], marks[b]), 0.3) << look.what << ", colours " << a << " and " << b;
    }
}

}  // namespace
}  // namespace mervox
