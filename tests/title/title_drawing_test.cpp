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
#include "render/screen_layout.h"
#include "title/title_update.h"

namespace mervox {
namespace {

TEST(TitleScore, FiveOrSixDigitsEndingInOneColumn) {
    char text[16];
    int x = 0;
    // Where the first of n small digits starts for the last to end in the score column.
    auto firstOf = [](int n) { return screen::kTitleScores.scoreLastX + 1 - n * kSmallDigits.advance; };
    EXPECT_EQ(FormatTitleScore(99999, text, x), 5);
    EXPECT_STREQ(text, "99999");
    EXPECT_EQ(x, firstOf(5));
    EXPECT_EQ(FormatTitleScore(100000, text, x), 6);
    EXPECT_STREQ(text, "100000");
    EXPECT_EQ(x, firstOf(6));
    EXPECT_EQ(FormatTitleScore(3000, text, x), 5);
    EXPECT_STREQ(text, "03000");
    EXPECT_EQ(FormatTitleScore(1234567, text, x), 7);
    EXPECT_STREQ(text, "1234567");
    EXPECT_EQ(x, firstOf(7));
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
    const screen::FadeGridLayout& grid = screen::kFadeSquares;
    const int squares = grid.columns * grid.rows;
    ASSERT_GE(grid.pitch * grid.columns, kFrameWidth);  // the grown squares cover the whole picture
    ASSERT_GE(grid.pitch * grid.rows, kFrameHeight);
    EXPECT_EQ(CountWhite(*fb, 0, 0, kFrameWidth, kFrameHeight), squares * 4);
    auto corner = [&](int a) { return grid.first + grid.pitch * a; };
    EXPECT_EQ(CountWhite(*fb, corner(grid.columns - 1), corner(grid.rows - 1), corner(grid.columns - 1) + 2,
                         corner(grid.rows - 1) + 2),
              4);
    EXPECT_EQ(CountWhite(*fb, corner(1), corner(1), corner(1) + 2, corner(1) + 2), 4);

    for (int f : {80, 160}) {
        std::memset(fb->pixels, 0, sizeof fb->pixels);
        DrawFadeSquares(dc, f);
        // Everything shown (from pixel (1, 1) on) is white.
        EXPECT_EQ(CountWhite(*fb, 1, 1, kFrameWidth, kFrameHeight), (kFrameWidth - 1) * (kFrameHeight - 1))
            << f;
    }
    std::memset(fb->pixels, 0, sizeof fb->pixels);
    DrawFadeSquares(dc, 81);
    EXPECT_EQ(CountWhite(*fb, 0, 0, kFrameWidth, kFrameHeight), squares * 4);
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

    static void Present(void* ctx) { ++static_cast<TitleDrawing*>(ctx)->presented; }

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
        FrameHooks hooks;
        hooks.ctx = this;
        hooks.presentFrame = Present;
        DrawTitleScreen(*g, res, *fb, hooks);
    }
};

TEST_F(TitleDrawing, EverySpriteLandsInItsPlace) {
    g->ReplayAvailable = 1;
    g->HighScores[0] = 123456;
    g->HighScores[1] = 8000;
    g->BGMMODE = SoundOn;
    g->SEMODE = SoundOff;
    Draw();
    EXPECT_EQ(presented, 1);
    const uint32_t blue = 0x0000FF, green = 0x00FF00, red = 0xFF0000;
    auto colourOf = [&](SheetId sheet) { return sheet == SheetId::Title ? blue : sheet == SheetId::Rank ? green : red; };
    // The sprite's first and last pixels in the colour of its sheet.
    auto covers = [&](const ScreenSprite& s) {
        const uint32_t c = colourOf(s.rect.sheet);
        return At(s.x, s.y) == c && At(s.x + s.rect.w - 1, s.y + s.rect.h - 1) == c;
    };
    for (const ScreenSprite* s :
         {&screen::kTitleLogo, &screen::kTitleMenuLine, &screen::kTitleReplayLine, &screen::kTitleBottomLine[0],
          &screen::kTitleBottomLine[1], &screen::kTitleBottomLine[2], &screen::kTitleScoreHeading,
          &screen::kTitleFrameRateCaption, &screen::kTitleMusicCaption, &screen::kTitleEffectsCaption,
          &screen::kFpsLabel})
        EXPECT_TRUE(covers(*s)) << s->rect.what;
    const screen::ScoreTableLayout& table = screen::kTitleScores;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(covers(ScreenSprite{sheet::kRankLabels[i], table.labelX, table.top + table.pitch * i})) << i;
    // Both scores end in one column: six digits of the best, five of the second.
    const int last = table.scoreLastX;
    const int second = table.top + table.pitch;
    EXPECT_EQ(At(last + 1 - 6 * kSmallDigits.advance, table.top), red);
    EXPECT_EQ(At(last - 1, table.top + kSmallDigits.cellHeight - 1), red);
    EXPECT_NE(At(last + 1 - 6 * kSmallDigits.advance, second), red);
    EXPECT_EQ(At(last + 1 - 5 * kSmallDigits.advance, second), red);
    EXPECT_TRUE(covers(ScreenSprite{sheet::kOptionOn, screen::kTitleOptionValueX, screen::kTitleMusicCaption.y}));
    EXPECT_TRUE(covers(ScreenSprite{sheet::kOptionOff, screen::kTitleOptionValueX, screen::kTitleEffectsCaption.y}));
    EXPECT_EQ(At(screen::kTitleFrameRateDigits.x, screen::kTitleFrameRateDigits.y), red);
    EXPECT_EQ(At(screen::kFpsDigits.x, screen::kFpsDigits.y), green);
}

// The middle pixel of where a sprite lands.
uint32_t MiddleOf(const TitleDrawing& t, const ScreenSprite& s) { return t.At(s.x + s.rect.w / 2, s.y + s.rect.h / 2); }

TEST_F(TitleDrawing, ReplayLineOnlyWithAReplay) {
    g->ReplayAvailable = 0;
    Draw();
    EXPECT_NE(MiddleOf(*this, screen::kTitleReplayLine), 0x0000FFu);
    g->ReplayAvailable = 1;
    Draw();
    EXPECT_EQ(MiddleOf(*this, screen::kTitleReplayLine), 0x0000FFu);
}

TEST_F(TitleDrawing, OptionValueSpritesFollowTheSettings) {
    // A sheet with the "off" picture painted apart from the "on" one.
    const SheetRect& off = sheet::kOptionOff;
    for (int y = off.y; y < off.y + off.h; ++y)
        for (int x = off.x; x < off.x + off.w; ++x) res.TitleSheet.pixels[y * 600 + x] = 0xFFFFFF00u;  // yellow
    g->BGMMODE = SoundOff;
    g->SEMODE = SoundOn;
    Draw();
    const ScreenSprite music{off, screen::kTitleOptionValueX, screen::kTitleMusicCaption.y};
    const ScreenSprite effects{sheet::kOptionOn, screen::kTitleOptionValueX, screen::kTitleEffectsCaption.y};
    EXPECT_EQ(MiddleOf(*this, music), 0xFFFF00u);
    EXPECT_EQ(MiddleOf(*this, effects), 0x0000FFu);
}

TEST_F(TitleDrawing, FadeCoversTheOverlays) {
    g->FadeLevel = 80;
    Draw();
    EXPECT_EQ(fb->pixels[screen::kTitleLogo.y * kFrameWidth + screen::kTitleLogo.x], kWhitePixel);
    EXPECT_EQ(fb->pixels[screen::kFpsDigits.y * kFrameWidth + screen::kFpsDigits.x], kWhitePixel);
}

}  // namespace
}  // namespace mervox
