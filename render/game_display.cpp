// The round's flat overlay over the scene, and the closing steps of every
// frame: tutorial caption band, fade squares and the frame copy.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "draw/gdi_calls.h"
#include "draw/text_drawing.h"
#include "render/colour_marks.h"
#include "render/digit_strings.h"
#include "render/scene_drawing.h"
#include "render/scene_painter.h"

namespace mervox {

namespace {

int CellIndex(float v) { return TruncToInt(v / 100); }

// Copies a picture of the sheets to (dstX, dstY).
void Sprite(ScenePainter& sp, const SheetRect& r, int dstX, int dstY) {
    DrawSheetRect(sp.frame, sp.res, r, dstX, dstY);
}

// "%03d" and the like of a value kept inside what the digits can show.
void Format(char (&buf)[32], const char* format, int64_t value, int64_t maxShown) {
    std::snprintf(buf, sizeof buf, format, static_cast<int>(std::clamp<int64_t>(value, 0, maxShown)));
}

void DrawBoardMap(ScenePainter& sp) {
    const GameState& g = sp.g;
    const int pi = CellIndex(g.PlayerX), pj = CellIndex(g.PlayerZ), pk = CellIndex(g.PlayerY);
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            for (int k = 0; k < 2; ++k) {
                const BlockSlot& b = g.Board[i][j][k];
                const int x = sp.S(551 + 10 * i);
                const int y = sp.S(371 - 10 * j - 100 * k);
                const int ten = sp.S(10);
                sp.Pen(sp.pal.FixedPens[2]);
                if (b.state != Empty && b.arriveTimer == 0) {
                    sp.Brush(sp.pal.ShadeBrushes[std::clamp(b.colour, 0, 4)][1]);
                } else {
                    sp.Brush(sp.pal.WhiteBrush);
                }
                const Point cell[4] = {{x, y}, {x + ten, y}, {x + ten, y + ten}, {x, y + ten}};
                Polygon(sp.dc, cell, 4);
                if (sp.res.colourMarks && b.state != Empty && b.arriveTimer == 0) {
                    const Point upright[4] = {cell[3], cell[2], cell[1], cell[0]};
                    DrawColourMark(sp.dc, sp.pal, b.colour, upright);
                }
                if (pi == i && pj == j && pk == k) {
                    sp.Pen(sp.pal.FixedPens[0]);
                    sp.Brush(sp.pal.GreyBrushes[16]);
                    const int in3 = sp.S(3), in7 = sp.S(7);
                    const Point mark[4] = {{x + in3, y + in3}, {x + in7, y + in3}, {x + in7, y + in7}, {x + in3, y + in7}};
                    Polygon(sp.dc, mark, 4);
                }
            }
        }
    }
}

void DrawEndOfRound(ScenePainter& sp) {
    const GameState& g = sp.g;
    char buf[32];
    Sprite(sp, sheet::kEndOfRoundBanner, 146, 171);
    if (g.TimeLeft < -120 && g.RunMode != RunTutorial) Sprite(sp, sheet::kScoreLabel, 161, 266);
    if (g.TimeLeft < -180 && g.RunMode != RunTutorial) {
        // Six glyphs from 100000 up; a score past six digits shows 999999.
        const bool six = g.ShownScore > 99999;
        Format(buf, six ? "%06d" : "%05d", g.ShownScore, 999999);
        DrawDigitString(sp.frame, sp.Sheet(SheetId::Number), buf, six ? 6 : 5, 246, 251, kLargeDigits);
    }
    if (g.TimeLeft < -240 && !PlaysBack(g)) {
        for (int n = 0; n < 3; ++n) {
            if (g.ShownScore != g.HighScores[n]) continue;
            Sprite(sp, sheet::kPlaceMarks[n], 171, 306);
            Sprite(sp, sheet::kNewRecordLabel, 281, 306);
            break;
        }
    }
}

void DrawChainPopups(ScenePainter& sp) {
    const GameState& g = sp.g;
    for (int k = 0; k < kChainSlotCount; ++k) {
        const ChainSlot& c = g.ChainSlots[k];
        if (c.timer == 0) continue;
        const int64_t count = c.count;
        const int64_t v = c.chain == 1 ? 10 * (std::max<int64_t>(count - 3, 0) + 10)
                                       : 10 * (count + 4 * static_cast<int64_t>(c.chain) + 5);
        // Play never reaches 1000 points per block or 100 blocks in a link;
        // larger values show as 999 and 99 so the text stays six glyphs.
        char buf[32];
        std::snprintf(buf, sizeof buf, "%03dx%02d", static_cast<int>(std::clamp<int64_t>(v, 0, 999)),
                      static_cast<int>(std::clamp<int64_t>(count, 0, 99)));
        const int64_t slide = 20 * std::max<int64_t>(std::llabs(static_cast<int64_t>(c.timer) - 60), 30);
        for (int m = 0; m < 6; ++m) {
            const int64_t x = 601 + 22 * m - slide;
            if (x >= 640 || x < -1000) continue;
            DrawGlyph(sp.frame, sp.Sheet(SheetId::Number), buf[m], static_cast<int>(x), 53 + 22 * k, kSmallDigits);
        }
    }
}

}  // namespace

void DrawGameDisplay(ScenePainter& sp) {
    const GameState& g = sp.g;
    char buf[32];

    DrawBoardMap(sp);

    // Mode labels.
    if (!PlaysBack(g) || g.RunMode == RunTutorial) {
        if (g.PushIntent != 0) Sprite(sp, sheet::kKickKeyLabel, 16, 351);
        Sprite(sp, sheet::kKeysLabel, 16, 381);
    } else if (g.RunMode == RunReplay) {
        Sprite(sp, sheet::kReplayLabel, 16, 366);
    } else {
        Sprite(sp, sheet::kDemoLabel, 16, 366);
    }
    if (g.RunMode >= RunReplay && g.RoundFrame % 120 < 100) Sprite(sp, sheet::kInGameCaption, 203, 361);

    SelectFont(sp.dc, &sp.pal.SmallFont);

    // Frame rate and play time, bottom corners.
    Format(buf, "%03d", g.FramesPerSecond, 999);
    DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Rank), buf, 12, 45, 459, kTinyDigits);
    Sprite(sp, sheet::kFpsLabel, 50, 459);
    std::snprintf(buf, sizeof buf, "%06.2f", std::min(g.PlayFrames / 60.0, 999.99));
    DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Rank), buf, 562, 628, 459, kTinyDigits);

    // Level.
    Sprite(sp, sheet::kLevelLabel, 531, 4);
    Format(buf, "%03d", g.Level, 999);
    DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Number), buf, 531, 621, 21, kMediumDigits);

    // Score: the last five digits.
    Sprite(sp, sheet::kScoreLabel, 11, 4);
    Format(buf, "%05d", g.ShownScore % 100000, 99999);
    DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Number), buf, 11, 161, 21, kMediumDigits);

    // Time: under ten seconds the figure blinks off for the last 6 updates
    // of each second.
    Sprite(sp, sheet::kTimeLabel, 291, 4);
    if (g.ShownTime % 60 < 54 || g.ShownTime >= 600) {
        Format(buf, "%03d", g.ShownTime / 60, 999);
        DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Number), buf, 254, 389, 21, kLargeDigits);
    }

    if (g.LevelUpFlash != 0) Sprite(sp, sheet::kLevelUpLabel, 277, 61);

    if (g.TimeLeft <= 0 && g.EscHold < 60) DrawEndOfRound(sp);

    if (g.ReadyCountdown > 0) {
        Sprite(sp, sheet::kReadyBanner, 171, 211);
    } else if (g.PlayFrames < 60) {
        Sprite(sp, sheet::kGoBanner, 246, 211);
    }

    // Quota still to clear.
    Sprite(sp, sheet::kQuotaLabel, 531, 54);
    Format(buf, "%03d", g.LevelQuota, 999);
    DrawDigitsUntil(sp.frame, sp.Sheet(SheetId::Number), buf, 531, 621, 71, kMediumDigits);

    DrawChainPopups(sp);
}

void FinishFrame(ScenePainter& sp, const FrameHooks& hooks) {
    const GameState& g = sp.g;
    if (g.RunMode == RunTutorial) {
        sp.Pen(sp.pal.FixedPens[3]);
        sp.Brush(sp.pal.GreyBrushes[23]);
        Rectangle(sp.dc, sp.S(1), sp.S(401), sp.S(640), sp.S(480));
        if (g.CaptionIndex >= 0 && g.CaptionIndex < kCaptionCount) {
            const TutorialCaption& c = g.TutorialCaptions[g.CaptionIndex];
            const uint32_t frame = static_cast<uint32_t>(g.RoundFrame);
            const uint32_t start = static_cast<uint32_t>(c.start);
            const uint32_t end = start + static_cast<uint32_t>(c.length);
            if (start <= frame && frame < end) {
                SelectFont(sp.dc, &WordsFont(sp.res));
                SetTextColour(sp.dc, 0x505050);
                auto length = [](const char16_t* s) {
                    int n = 0;
                    while (n < kCaptionChars && s[n] != 0) ++n;
                    return n;
                };
                const bool english = sp.res.language == TextLanguage::English;
                const char16_t* line1 = english ? EnglishCaptionLine(g.CaptionIndex, 0) : c.line1;
                const char16_t* line2 = english ? EnglishCaptionLine(g.CaptionIndex, 1) : c.line2;
                TextOutW(sp.dc, sp.S(41), sp.S(411), line1, length(line1));
                TextOutW(sp.dc, sp.S(41), sp.S(436), line2, length(line2));
            }
        }
    }
    DrawFadeSquares(sp.dc, g.FadeLevel);
    if (g.RunMode >= RunGame) hooks.presentFrame();
}

void DrawFadeSquares(DrawContext& dc, int32_t fadeLevel) {
    if (fadeLevel == 0) return;
    const int n = dc.scale;
    const int side = static_cast<int>(((static_cast<int64_t>(fadeLevel) - 1) % 80) + 2) * n;
    for (int a = 0; a < 8; ++a)
        for (int b = 0; b < 6; ++b) PatBltWhiteness(dc, (1 + 80 * a) * n, (1 + 80 * b) * n, side, side);
}

}  // namespace mervox
