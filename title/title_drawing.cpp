#include "title/title_drawing.h"

#include <cstdio>

#include "draw/draw_context.h"
#include "draw/gdi_calls.h"
#include "render/digit_strings.h"
#include "render/scene_drawing.h"
#include "render/sprite_sheet.h"

namespace mervox {

namespace {

struct SpriteCopy {
    int srcX, srcY, width, height, dstX, dstY;
};

// The fixed title sprites of the title sheet, drawn before the scores.
constexpr SpriteCopy kLogo{0, 40, 540, 60, 51, 61};
constexpr SpriteCopy kMenuLine{0, 0, 400, 20, 121, 361};
constexpr SpriteCopy kReplayLine{0, 20, 400, 20, 121, 396};
constexpr SpriteCopy kBottomLine[3] = {
    {400, 20, 40, 20, 221, 441},
    {140, 20, 131, 20, 261, 441},
    {450, 20, 60, 20, 392, 441},
};
constexpr SpriteCopy kScoreHeading{90, 30, 120, 20, 81, 191};  // rank sheet
constexpr SpriteCopy kFrameRateCaption{0, 100, 110, 20, 401, 221};
constexpr SpriteCopy kMusicCaption{110, 100, 110, 20, 401, 251};
constexpr SpriteCopy kEffectsCaption{220, 100, 110, 20, 401, 281};
constexpr SpriteCopy kFpsLabel{211, 71, 25, 11, 50, 459};  // rank sheet

constexpr int kScoreEndX = 240;  // last pixel column of the last digit

void Copy(FrameBuffer& fb, const SpriteSheet& sheet, const SpriteCopy& s) {
    DrawSprite(fb.pixels, s.width, s.height, sheet, s.dstX, s.dstY, s.srcX, s.srcY);
}

// The on / off value sprite of an option: 60 pixels further right for off.
void OptionValue(FrameBuffer& fb, const SpriteSheet& sheet, int mode, int y) {
    const int srcX = 330 + 60 * (mode != 0 ? 1 : 0);
    DrawSprite(fb.pixels, 60, 20, sheet, 531, y, srcX, 100);
}

}  // namespace

int FormatTitleScore(uint32_t score, char (&text)[16], int& firstX) {
    if (score > 9999999u) score = 9999999u;
    const int n = std::snprintf(text, sizeof text, score < 100000u ? "%05u" : "%06u", score);
    firstX = kScoreEndX + 1 - n * kSmallDigits.advance;
    return n;
}

void DrawFadeSquares(FrameBuffer& fb, int fadeLevel) {
    if (fadeLevel == 0) return;
    const int side = (fadeLevel - 1) % 80 + 2;
    DrawContext dc = MakeDrawContext(fb.pixels, kFrameWidth, kFrameHeight);
    for (int x = 1; x <= 561; x += 80)
        for (int y = 1; y <= 401; y += 80) PatBltWhiteness(dc, x, y, side, side);
}

void DrawTitleScreen(const GameState& g, const RenderResources& res, FrameBuffer& fb,
                     const FrameHooks& hooks) {
    DrawScene(g, res, fb, hooks);

    const SpriteSheet& title = res.TitleSheet;
    const SpriteSheet& rank = res.RankSheet;
    Copy(fb, title, kLogo);
    Copy(fb, title, kMenuLine);
    if (g.ReplayAvailable != 0) Copy(fb, title, kReplayLine);
    for (const SpriteCopy& piece : kBottomLine) Copy(fb, title, piece);
    Copy(fb, rank, kScoreHeading);
    for (int i = 0; i < 3; ++i) {
        const int y = 221 + 30 * i;
        DrawSprite(fb.pixels, 60, 20, rank, 41, y, 90 + 60 * i, 50);
        char digits[16];
        int x = 0;
        const int n = FormatTitleScore(g.HighScores[i], digits, x);
        DrawDigitString(fb.pixels, res.NumberSheet, digits, n, x, y, kSmallDigits);
    }

    Copy(fb, title, kFrameRateCaption);
    char rate[16];
    const int skip = g.FrameSkip > 0 ? g.FrameSkip : 1;
    std::snprintf(rate, sizeof rate, "%02d", 60 / skip);
    DrawDigitString(fb.pixels, res.NumberSheet, rate, 2, 531, 221, kSmallDigits);
    Copy(fb, title, kMusicCaption);
    OptionValue(fb, title, g.BGMMODE, 251);
    Copy(fb, title, kEffectsCaption);
    OptionValue(fb, title, g.SEMODE, 281);

    // Three figures of the measured rate; a fast-forwarded count of a
    // thousand or more shows its first three.
    char fps[16];
    std::snprintf(fps, sizeof fps, "%03u", g.FramesPerSecond);
    DrawDigitString(fb.pixels, rank, fps, 3, 12, 459, kTinyDigits);
    Copy(fb, rank, kFpsLabel);

    DrawFadeSquares(fb, g.FadeLevel);
    if (hooks.presentFrame != nullptr) hooks.presentFrame(hooks.ctx);
}

}  // namespace mervox
