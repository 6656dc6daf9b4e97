#include "title/title_drawing.h"

#include <cstdio>

#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "render/digit_strings.h"
#include "render/scene_drawing.h"
#include "render/screen_layout.h"
#include "render/sprite_sheet.h"

namespace mervox {

namespace {

void Copy(const FrameView& fb, const RenderResources& res, const ScreenSprite& s) {
    DrawSheetRect(fb, res, s.rect, s.x, s.y);
}

// The on / off value sprite of an option (BGMMODE or SEMODE).
void OptionValue(const FrameView& fb, const RenderResources& res, int32_t setting, int y) {
    DrawSheetRect(fb, res, setting == SoundOn ? sheet::kOptionOn : sheet::kOptionOff, screen::kTitleOptionValueX, y);
}

}  // namespace

int FormatTitleScore(uint32_t score, char (&text)[16], int& firstX) {
    if (score > 9999999u) score = 9999999u;
    const int n = std::snprintf(text, sizeof text, score < 100000u ? "%05u" : "%06u", score);
    firstX = screen::kTitleScores.scoreLastX + 1 - n * kSmallDigits.advance;
    return n;
}

void DrawTitleScreen(const GameState& g, const RenderResources& res, FrameView fb,
                     const FrameHooks& hooks) {
    const SpriteSheet& numbers = SheetOf(res, SheetId::Number, fb.scale);
    DrawScene(g, res, fb, hooks);

    Copy(fb, res, screen::kTitleLogo);
    Copy(fb, res, screen::kTitleMenuLine);
    if (g.ReplayAvailable != 0) Copy(fb, res, screen::kTitleReplayLine);
    for (const ScreenSprite& piece : screen::kTitleBottomLine) Copy(fb, res, piece);
    Copy(fb, res, screen::kTitleScoreHeading);
    const screen::ScoreTableLayout& table = screen::kTitleScores;
    for (int i = 0; i < 3; ++i) {
        const int y = table.top + table.pitch * i;
        DrawSheetRect(fb, res, sheet::kRankLabels[i], table.labelX, y);
        char digits[16];
        int x = 0;
        const int n = FormatTitleScore(g.HighScores[i], digits, x);
        DrawDigitString(fb, numbers, digits, n, x, y, kSmallDigits);
    }

    Copy(fb, res, screen::kTitleFrameRateCaption);
    char rate[16];
    const int skip = g.FrameSkip > 0 ? g.FrameSkip : 1;
    std::snprintf(rate, sizeof rate, "%02d", 60 / skip);
    DrawDigitString(fb, numbers, rate, 2, screen::kTitleFrameRateDigits.x, screen::kTitleFrameRateDigits.y,
                    kSmallDigits);
    Copy(fb, res, screen::kTitleMusicCaption);
    OptionValue(fb, res, g.BGMMODE, screen::kTitleMusicCaption.y);
    Copy(fb, res, screen::kTitleEffectsCaption);
    OptionValue(fb, res, g.SEMODE, screen::kTitleEffectsCaption.y);

    // Three figures of the measured rate; a fast-forwarded count of a
    // thousand or more shows its first three.
    char fps[16];
    std::snprintf(fps, sizeof fps, "%03u", g.FramesPerSecond);
    DrawDigitString(fb, SheetOf(res, SheetId::Rank, fb.scale), fps, 3, screen::kFpsDigits.x, screen::kFpsDigits.y,
                    kTinyDigits);
    Copy(fb, res, screen::kFpsLabel);

    DrawContext dc = MakeDrawContext(fb);
    DrawFadeSquares(dc, g.FadeLevel);
    hooks.presentFrame();
}

}  // namespace mervox
