#include "title/title_drawing.h"

#include <cstdio>

#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "render/digit_strings.h"
#include "render/scene_drawing.h"
#include "render/sprite_sheet.h"

namespace mervox {

namespace {

// A picture of the sheets and where the title puts it.
struct SpriteCopy {
    const SheetRect& rect;
    int dstX, dstY;
};

// The fixed title sprites, drawn before the scores.
constexpr SpriteCopy kLogo{sheet::kLogo, 51, 61};
constexpr SpriteCopy kMenuLine{sheet::kMenuLine, 121, 361};
constexpr SpriteCopy kReplayLine{sheet::kReplayMenuLine, 121, 396};
constexpr SpriteCopy kBottomLine[3] = {
    {sheet::kBottomLineEsc, 221, 441},
    {sheet::kBottomLineMiddle, 261, 441},
    {sheet::kBottomLineQuit, 392, 441},
};
constexpr SpriteCopy kScoreHeading{sheet::kScoreTableHeading, 81, 191};
constexpr SpriteCopy kFrameRateCaption{sheet::kFrameRateCaption, 401, 221};
constexpr SpriteCopy kMusicCaption{sheet::kMusicCaption, 401, 251};
constexpr SpriteCopy kEffectsCaption{sheet::kEffectsCaption, 401, 281};
constexpr SpriteCopy kFpsLabel{sheet::kFpsLabel, 50, 459};

constexpr int kScoreEndX = 240;  // last pixel column of the last digit

void Copy(const FrameView& fb, const RenderResources& res, const SpriteCopy& s) {
    DrawSheetRect(fb, res, s.rect, s.dstX, s.dstY);
}

// The on / off value sprite of an option (BGMMODE or SEMODE).
void OptionValue(const FrameView& fb, const RenderResources& res, int32_t setting, int y) {
    DrawSheetRect(fb, res, setting == SoundOn ? sheet::kOptionOn : sheet::kOptionOff, 531, y);
}

}  // namespace

int FormatTitleScore(uint32_t score, char (&text)[16], int& firstX) {
    if (score > 9999999u) score = 9999999u;
    const int n = std::snprintf(text, sizeof text, score < 100000u ? "%05u" : "%06u", score);
    firstX = kScoreEndX + 1 - n * kSmallDigits.advance;
    return n;
}

void DrawTitleScreen(const GameState& g, const RenderResources& res, FrameView fb,
                     const FrameHooks& hooks) {
    const SpriteSheet& numbers = SheetOf(res, SheetId::Number, fb.scale);
    DrawScene(g, res, fb, hooks);

    Copy(fb, res, kLogo);
    Copy(fb, res, kMenuLine);
    if (g.ReplayAvailable != 0) Copy(fb, res, kReplayLine);
    for (const SpriteCopy& piece : kBottomLine) Copy(fb, res, piece);
    Copy(fb, res, kScoreHeading);
    for (int i = 0; i < 3; ++i) {
        const int y = 221 + 30 * i;
        DrawSheetRect(fb, res, sheet::kRankLabels[i], 41, y);
        char digits[16];
        int x = 0;
        const int n = FormatTitleScore(g.HighScores[i], digits, x);
        DrawDigitString(fb, numbers, digits, n, x, y, kSmallDigits);
    }

    Copy(fb, res, kFrameRateCaption);
    char rate[16];
    const int skip = g.FrameSkip > 0 ? g.FrameSkip : 1;
    std::snprintf(rate, sizeof rate, "%02d", 60 / skip);
    DrawDigitString(fb, numbers, rate, 2, 531, 221, kSmallDigits);
    Copy(fb, res, kMusicCaption);
    OptionValue(fb, res, g.BGMMODE, 251);
    Copy(fb, res, kEffectsCaption);
    OptionValue(fb, res, g.SEMODE, 281);

    // Three figures of the measured rate; a fast-forwarded count of a
    // thousand or more shows its first three.
    char fps[16];
    std::snprintf(fps, sizeof fps, "%03u", g.FramesPerSecond);
    DrawDigitString(fb, SheetOf(res, SheetId::Rank, fb.scale), fps, 3, 12, 459, kTinyDigits);
    Copy(fb, res, kFpsLabel);

    DrawContext dc = MakeDrawContext(fb.pixels, fb.width, fb.height, fb.scale);
    DrawFadeSquares(dc, g.FadeLevel);
    hooks.presentFrame();
}

}  // namespace mervox
