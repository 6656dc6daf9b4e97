// The round's flat overlay over the scene, and the closing steps of every
// frame: tutorial caption band, fade squares and the frame copy.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "draw/gdi_calls.h"
#include "draw/text_drawing.h"
#include "game/link_points.h"
#include "game/round_end.h"
#include "game/state/board.h"
#include "game/tutorial_captions.h"
#include "render/colour_marks.h"
#include "render/digit_strings.h"
#include "render/scene_drawing.h"
#include "render/scene_painter.h"
#include "render/screen_layout.h"

namespace mervox {

namespace {

// Copies a picture of the sheets to its place.
void Sprite(ScenePainter& sp, const ScreenSprite& s) { DrawSheetRect(sp.frame, sp.res, s.rect, s.x, s.y); }

// Digits of `text` along a row of the display.
void Digits(ScenePainter& sp, SheetId sheet, const char* text, const DigitRow& row, const DigitStrip& strip) {
    DrawDigitsUntil(sp.frame, sp.Sheet(sheet), text, row.x, row.endX, row.y, strip);
}

// "%03d" and the like of a value kept inside what the digits can show.
void Format(char (&buf)[32], const char* format, int64_t value, int64_t maxShown) {
    std::snprintf(buf, sizeof buf, format, static_cast<int>(std::clamp<int64_t>(value, 0, maxShown)));
}

void DrawBoardMap(ScenePainter& sp) {
    const GameState& g = sp.g;
    const int pi = CellIndex(g.PlayerX), pj = CellIndex(g.PlayerZ), pk = CellIndex(g.PlayerY);
    const screen::BoardMapLayout& map = screen::kBoardMap;
    for (int i = 0; i < kBoardSize; ++i) {
        for (int j = 0; j < kBoardSize; ++j) {
            for (int k = 0; k < kLayers; ++k) {
                const BlockSlot& b = g.Board[i][j][k];
                const int x = sp.S(map.left + map.cell * i);
                const int y = sp.S(map.floorTop - map.cell * j - map.layerRise * k);
                const int side = sp.S(map.cell);
                sp.Pen(sp.pal.FixedPens[paint::kGreyPen]);
                if (b.state != Empty && b.arriveTimer == 0) {
                    sp.Brush(sp.pal.ShadeBrushes[std::clamp(b.colour, 0, kColourFamilies - 1)][paint::kMapCellShade]);
                } else {
                    sp.Brush(sp.pal.WhiteBrush);
                }
                const Point cell[4] = {{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}};
                Polygon(sp.dc, cell, 4);
                if (sp.res.colourMarks && b.state != Empty && b.arriveTimer == 0) {
                    const Point upright[4] = {cell[3], cell[2], cell[1], cell[0]};
                    DrawColourMark(sp.dc, sp.pal, b.colour, upright);
                }
                if (pi == i && pj == j && pk == k) {
                    sp.Pen(sp.pal.FixedPens[paint::kOutlinePen]);
                    sp.Brush(sp.pal.GreyBrushes[paint::kMarkerGrey]);
                    const int near = sp.S(map.markNear), far = sp.S(map.markFar);
                    const Point mark[4] = {{x + near, y + near}, {x + far, y + near}, {x + far, y + far}, {x + near, y + far}};
                    Polygon(sp.dc, mark, 4);
                }
            }
        }
    }
}

void DrawEndOfRound(ScenePainter& sp) {
    const GameState& g = sp.g;
    char buf[32];
    Sprite(sp, screen::kEndOfRoundBanner);
    if (g.TimeLeft < kScoreLabelShowsBelow && g.RunMode != RunTutorial) Sprite(sp, screen::kEndScoreLabel);
    if (g.TimeLeft < kScoreFigureShowsBelow && g.RunMode != RunTutorial) {
        // Six glyphs from 100000 up; a score past six digits shows 999999.
        const bool six = g.ShownScore > 99999;
        Format(buf, six ? "%06d" : "%05d", g.ShownScore, 999999);
        DrawDigitString(sp.frame, sp.Sheet(SheetId::Number), buf, six ? 6 : 5, screen::kEndScoreFigure.x,
                        screen::kEndScoreFigure.y, kLargeDigits);
    }
    if (g.TimeLeft < kRecordMarksShowBelow && !PlaysBack(g)) {
        for (int n = 0; n < 3; ++n) {
            if (g.ShownScore != g.HighScores[n]) continue;
            Sprite(sp, ScreenSprite{sheet::kPlaceMarks[n], screen::kEndPlaceMark.x, screen::kEndPlaceMark.y});
            Sprite(sp, screen::kEndNewRecordLabel);
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
        const int64_t v = LinkPointsPerBlock(count, c.chain);
        // Play never reaches 1000 points per block or 100 blocks in a link;
        // larger values show as 999 and 99 so the text stays six glyphs.
        char buf[32];
        std::snprintf(buf, sizeof buf, "%03dx%02d", static_cast<int>(std::clamp<int64_t>(v, 0, 999)),
                      static_cast<int>(std::clamp<int64_t>(count, 0, 99)));
        const screen::ChainPopupLayout& at = screen::kChainPopups;
        const int64_t slide =
            at.slideStep * std::max<int64_t>(std::llabs(static_cast<int64_t>(c.timer) - kChainLinkLife / 2), at.leastSteps);
        for (int m = 0; m < 6; ++m) {
            const int64_t x = at.x0 + at.glyphPitch * m - slide;
            if (x >= kFrameWidth || x < at.farLeft) continue;
            DrawGlyph(sp.frame, sp.Sheet(SheetId::Number), buf[m], static_cast<int>(x), at.top + at.rowPitch * k,
                      kSmallDigits);
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
        if (g.PushIntent != 0) Sprite(sp, screen::kKickKeyLabel);
        Sprite(sp, screen::kKeysLabel);
    } else if (g.RunMode == RunReplay) {
        Sprite(sp, screen::kReplayLabel);
    } else {
        Sprite(sp, screen::kDemoLabel);
    }
    if (g.RunMode >= RunReplay && g.RoundFrame % screen::kCaptionBlinkPeriod < screen::kCaptionBlinkShown)
        Sprite(sp, screen::kInGameCaption);

    // Frame rate and play time, bottom corners.
    Format(buf, "%03d", g.FramesPerSecond, 999);
    Digits(sp, SheetId::Rank, buf, screen::kFpsDigits, kTinyDigits);
    Sprite(sp, screen::kFpsLabel);
    std::snprintf(buf, sizeof buf, "%06.2f", std::min(g.PlayFrames / 60.0, 999.99));
    Digits(sp, SheetId::Rank, buf, screen::kPlayTimeDigits, kTinyDigits);

    // Level.
    Sprite(sp, screen::kLevelLabel);
    Format(buf, "%03d", g.Level, 999);
    Digits(sp, SheetId::Number, buf, screen::kLevelDigits, kMediumDigits);

    // Score: the last five digits.
    Sprite(sp, screen::kScoreLabel);
    Format(buf, "%05d", g.ShownScore % 100000, 99999);
    Digits(sp, SheetId::Number, buf, screen::kScoreDigits, kMediumDigits);

    // Time: under ten seconds the figure blinks off for the last 6 updates
    // of each second.
    Sprite(sp, screen::kTimeLabel);
    if (g.ShownTime % 60 < 54 || g.ShownTime >= 600) {
        Format(buf, "%03d", g.ShownTime / 60, 999);
        Digits(sp, SheetId::Number, buf, screen::kTimeDigits, kLargeDigits);
    }

    if (g.LevelUpFlash != 0) Sprite(sp, screen::kLevelUpLabel);

    if (g.TimeLeft <= 0 && g.EscHold < kEscHoldToEnd) DrawEndOfRound(sp);

    if (g.ReadyCountdown > 0) {
        Sprite(sp, screen::kReadyBanner);
    } else if (g.PlayFrames < 60) {
        Sprite(sp, screen::kGoBanner);
    }

    // Quota still to clear.
    Sprite(sp, screen::kQuotaLabel);
    Format(buf, "%03d", g.LevelQuota, 999);
    Digits(sp, SheetId::Number, buf, screen::kQuotaDigits, kMediumDigits);

    DrawChainPopups(sp);
}

void FinishFrame(ScenePainter& sp, const FrameHooks& hooks) {
    const GameState& g = sp.g;
    if (g.RunMode == RunTutorial) {
        sp.Pen(sp.pal.FixedPens[paint::kLightGreyPen]);
        sp.Brush(sp.pal.GreyBrushes[paint::kBandGrey]);
        const ScreenBox& band = screen::kCaptionBand;
        Rectangle(sp.dc, sp.S(band.left), sp.S(band.top), sp.S(band.right), sp.S(band.bottom));
        if (g.CaptionIndex >= 0 && g.CaptionIndex < kCaptionCount) {
            const TutorialCaption& c = kTutorialCaptions[g.CaptionIndex];
            const uint32_t frame = static_cast<uint32_t>(g.RoundFrame);
            const uint32_t start = static_cast<uint32_t>(c.start);
            const uint32_t end = start + static_cast<uint32_t>(c.length);
            if (start <= frame && frame < end) {
                SelectFont(sp.dc, &WordsFont(sp.res));
                SetTextColour(sp.dc, paint::kCaptionText);
                auto length = [](const char16_t* s) {
                    int n = 0;
                    while (s[n] != 0) ++n;
                    return n;
                };
                const bool english = sp.res.language == TextLanguage::English;
                const std::u16string english1 = english ? EnglishCaptionLine(g.CaptionIndex, 0, sp.res.keys) : u"";
                const std::u16string english2 = english ? EnglishCaptionLine(g.CaptionIndex, 1, sp.res.keys) : u"";
                const char16_t* line1 = english ? english1.c_str() : c.line1;
                const char16_t* line2 = english ? english2.c_str() : c.line2;
                const ScreenSpot(&at)[2] = screen::kCaptionLines;
                TextOutW(sp.dc, sp.S(at[0].x), sp.S(at[0].y), line1, length(line1));
                TextOutW(sp.dc, sp.S(at[1].x), sp.S(at[1].y), line2, length(line2));
            }
        }
    }
    DrawFadeSquares(sp.dc, g.FadeLevel);
    if (g.RunMode >= RunGame) hooks.presentFrame();
}

void DrawFadeSquares(DrawContext& dc, int32_t fadeLevel) {
    if (fadeLevel == 0) return;
    const int n = dc.scale;
    const screen::FadeGridLayout& grid = screen::kFadeSquares;
    // A square grows a pixel a level, from 2 to one pixel past its pitch.
    const int side = static_cast<int>(((static_cast<int64_t>(fadeLevel) - 1) % grid.pitch) + 2) * n;
    for (int a = 0; a < grid.columns; ++a)
        for (int b = 0; b < grid.rows; ++b)
            PatBltWhiteness(dc, (grid.first + grid.pitch * a) * n, (grid.first + grid.pitch * b) * n, side, side);
}

}  // namespace mervox
