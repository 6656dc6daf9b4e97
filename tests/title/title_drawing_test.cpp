#include "title/title_drawing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "game/simulation.h"
#include "render/scene_drawing.h"
#include "title/title_update.h"

namespace mervox {
namespace {

TEST(TitleScore, FiveOrSixDigitsEndingAt240) {
    char text[16];
    int x = 0;
    EXPECT_EQ(FormatTitleScore(99999, text, x), 5);
    EXPECT_STREQ(text, "99999");
    EXPECT_EQ(x, 141);
    EXPECT_EQ(FormatTitleScore(100000, text, x), 6);
    EXPECT_STREQ(text, "100000");
    EXPECT_EQ(x, 121);
    EXPECT_EQ(FormatTitleScore(3000, text, x), 5);
    EXPECT_STREQ(text, "03000");
    EXPECT_EQ(FormatTitleScore(1234567, text, x), 7);
    EXPECT_STREQ(text, "1234567");
    EXPECT_EQ(x, 101);
    EXPECT_EQ(FormatTitleScore(4294967295u, text, x), 7);
    EXPECT_STREQ(text, "9999999");
}

int CountWhite(const FrameBuffer& fb, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += fb.pixels[y * kFrameWidth + x] == kWhitePixel;
    return n;
}

TEST(TitleFade, SquaresGrowOnAnEightyPixelGrid) {
    auto fb = std::make_unique<FrameBuffer>();
    DrawContext dc = MakeDrawContext(fb->pixels, kFrameWidth, kFrameHeight);
    std::memset(fb->pixels, 0, sizeof fb->pixels);
    DrawFadeSquares(dc, 1);
    EXPECT_EQ(CountWhite(*fb, 0, 0, kFrameWidth, kFrameHeight), 48 * 4);
    EXPECT_EQ(CountWhite(*fb, 561, 401, 563, 403), 4);
    EXPECT_EQ(CountWhite(*fb, 81, 81, 83, 83), 4);

    for (int f : {80, 160}) {
        std::memset(fb->pixels, 0, sizeof fb->pixels);
        DrawFadeSquares(dc, f);
        // Everything shown (from pixel (1, 1) on) is white.
        EXPECT_EQ(CountWhite(*fb, 1, 1, kFrameWidth, kFrameHeight), (kFrameWidth - 1) * (kFrameHeight - 1))
            << f;
    }
    std::memset(fb->pixels, 0, sizeof fb->pixels);
    DrawFadeSquares(dc, 81);
    EXPECT_EQ(CountWhite(*fb, 0, 0, kFrameWidth, kFrameHeight), 48 * 4);
    std::memset(fb->pixels, 0, sizeof fb->pixels);
    DrawFadeSquares(dc, 0);
    EXPECT_EQ(CountWhite(*fb, 0, 0, kFrameWidth, kFrameHeight), 0);
}

// A sheet whose every pixel is one opaque colour, so each copied rectangle
// shows where it landed.
void SolidSheet(SpriteSheet& s, int w, int h, uint32_t argb) {
    s.pixels = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) * w * h));
    for (int k = 0; k < w * h; ++k) s.pixels[k] = argb;
    s.width = w;
    s.height = h;
}

struct TitleDrawing : ::testing::Test {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
    RenderResources res;
    int presented = 0;

    struct CountPresents : FrameHooks {
        int* presented;
        explicit CountPresents(int* n) : presented(n) {}
        void presentFrame() const override { ++*presented; }
    };

    void SetUp() override {
        InitProgramState(*g);
        ResetScene(*g);
        PutTitleStartCamera(*g);
        g->FadeLevel = 0;
        CreatePalette(res.palette);
        SolidSheet(res.TitleSheet, 600, 140, 0xFF0000FFu);   // blue
        SolidSheet(res.RankSheet, 300, 100, 0xFF00FF00u);    // green
        SolidSheet(res.NumberSheet, 300, 100, 0xFFFF0000u);  // red
    }
    void TearDown() override { ReleaseRenderResources(res); }

    uint32_t At(int x, int y) const { return fb->pixels[y * kFrameWidth + x] & 0x00FFFFFFu; }
    void Draw() {
        DrawTitleScreen(*g, res, *fb, CountPresents(&presented));
    }
};

TEST_F(TitleDrawing, EverySpriteLandsInItsPlace) {
    g->ReplayAvailable = 1;
    g->HighScores[0] = 123456;
    g->HighScores[1] = 8000;
    Draw();
    EXPECT_EQ(presented, 1);
    const uint32_t blue = 0x0000FF, green = 0x00FF00, red = 0xFF0000;
    EXPECT_EQ(At(51, 61), blue);     // logo
    EXPECT_EQ(At(590, 120), blue);   // logo's far corner
    EXPECT_EQ(At(121, 361), blue);   // menu line
    EXPECT_EQ(At(520, 415), blue);   // replay line
    EXPECT_EQ(At(221, 441), blue);   // bottom line pieces
    EXPECT_EQ(At(391, 460), blue);
    EXPECT_EQ(At(451, 460), blue);
    EXPECT_EQ(At(81, 191), green);   // score heading
    EXPECT_EQ(At(41, 221), green);   // rank labels
    EXPECT_EQ(At(100, 290), green);
    EXPECT_EQ(At(121, 221), red);    // six-digit best score starts at 121
    EXPECT_EQ(At(239, 240), red);
    EXPECT_NE(At(121, 251), red);    // five-digit second score starts at 141
    EXPECT_EQ(At(141, 251), red);
    EXPECT_EQ(At(401, 221), blue);   // option captions and values
    EXPECT_EQ(At(590, 300), blue);
    EXPECT_EQ(At(531, 221), red);    // frame-rate digits
    EXPECT_EQ(At(12, 459), green);   // frames-per-second digits and label
    EXPECT_EQ(At(74, 469), green);
}

TEST_F(TitleDrawing, ReplayLineOnlyWithAReplay) {
    g->ReplayAvailable = 0;
    Draw();
    EXPECT_NE(At(300, 405), 0x0000FFu);
    g->ReplayAvailable = 1;
    Draw();
    EXPECT_EQ(At(300, 405), 0x0000FFu);
}

TEST_F(TitleDrawing, OptionValueSpritesFollowTheSettings) {
    // A sheet with the "off" column painted apart from the "on" column.
    for (int y = 100; y < 120; ++y)
        for (int x = 390; x < 450; ++x) res.TitleSheet.pixels[y * 600 + x] = 0xFFFFFF00u;  // yellow
    g->BGMMODE = SoundOff;
    g->SEMODE = SoundOn;
    Draw();
    EXPECT_EQ(At(540, 260), 0xFFFF00u);
    EXPECT_EQ(At(540, 290), 0x0000FFu);
}

TEST_F(TitleDrawing, FadeCoversTheOverlays) {
    g->FadeLevel = 80;
    Draw();
    EXPECT_EQ(fb->pixels[61 * kFrameWidth + 51], kWhitePixel);
    EXPECT_EQ(fb->pixels[459 * kFrameWidth + 12], kWhitePixel);
}

}  // namespace
}  // namespace mervox
