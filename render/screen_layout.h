// Where everything flat lies on the picture: the round's display, the board
// map, the chain pop-ups, the tutorial band, the fade squares and the
// title's sprites. Positions are pixels of the 640 x 480 picture counted
// from its top-left corner; at drawing scale N each is N times as far.
// The drawing and its tests read this table, and it is the only place
// these positions are written. The sprites themselves are cut from the
// rectangles of render/sheet_layout.h.
//
// Header only, with no dependencies beyond the sheet table.
#pragma once

#include <cstdint>

#include "render/sheet_layout.h"

namespace mervox {

// A picture of the sheets and the top-left corner it is copied to.
struct ScreenSprite {
    const SheetRect& rect;
    int x, y;
};

// A place on the picture.
struct ScreenSpot {
    int x, y;
};

// A box of the picture: its first and last pixel columns and rows.
struct ScreenBox {
    int left, top, right, bottom;
};

// Digits of a strip laid from x onwards, as many as fit before endX, tops
// at y.
struct DigitRow {
    int x, endX, y;
};

namespace screen {

// ---- the picture as a whole ---------------------------------------------------
// Where the camera's axis meets the picture.
inline constexpr int kCentreX = 320;
inline constexpr int kCentreY = 240;
// The 720-wide mode shrinks the picture about its top edge to 27/32 and
// moves it right to stay centred.
inline constexpr double kNarrowScale = 0.84375;
inline constexpr int kNarrowShiftX = 50;
// The background's fill reaches a little past the right and bottom edges.
inline constexpr ScreenBox kBackground{0, 0, 642, 482};

// ---- along the top: score, time, level, quota ---------------------------------
inline constexpr ScreenSprite kScoreLabel{sheet::kScoreLabel, 11, 4};
inline constexpr DigitRow kScoreDigits{11, 161, 21};
inline constexpr ScreenSprite kTimeLabel{sheet::kTimeLabel, 291, 4};
inline constexpr DigitRow kTimeDigits{254, 389, 21};
inline constexpr ScreenSprite kLevelLabel{sheet::kLevelLabel, 531, 4};
inline constexpr DigitRow kLevelDigits{531, 621, 21};
inline constexpr ScreenSprite kQuotaLabel{sheet::kQuotaLabel, 531, 54};
inline constexpr DigitRow kQuotaDigits{531, 621, 71};
inline constexpr ScreenSprite kLevelUpLabel{sheet::kLevelUpLabel, 277, 61};

// ---- banners across the middle -------------------------------------------------
inline constexpr ScreenSprite kReadyBanner{sheet::kReadyBanner, 171, 211};
inline constexpr ScreenSprite kGoBanner{sheet::kGoBanner, 246, 211};
inline constexpr ScreenSprite kEndOfRoundBanner{sheet::kEndOfRoundBanner, 146, 171};
inline constexpr ScreenSprite kEndScoreLabel{sheet::kScoreLabel, 161, 266};
inline constexpr ScreenSpot kEndScoreFigure{246, 251};  // five or six large digits
inline constexpr ScreenSpot kEndPlaceMark{171, 306};    // the place's mark of sheet::kPlaceMarks
inline constexpr ScreenSprite kEndNewRecordLabel{sheet::kNewRecordLabel, 281, 306};

// ---- bottom left: what drives the round ---------------------------------------
inline constexpr ScreenSprite kKickKeyLabel{sheet::kKickKeyLabel, 16, 351};
inline constexpr ScreenSprite kKeysLabel{sheet::kKeysLabel, 16, 381};
inline constexpr ScreenSprite kReplayLabel{sheet::kReplayLabel, 16, 366};
inline constexpr ScreenSprite kDemoLabel{sheet::kDemoLabel, 16, 366};
inline constexpr ScreenSprite kInGameCaption{sheet::kInGameCaption, 203, 361};
// The caption shows for the first 100 updates of every 120.
inline constexpr int kCaptionBlinkPeriod = 120;
inline constexpr int kCaptionBlinkShown = 100;

// ---- bottom corners: frame rate and play time (the title's too) ----------------
inline constexpr DigitRow kFpsDigits{12, 45, 459};
inline constexpr ScreenSprite kFpsLabel{sheet::kFpsLabel, 50, 459};
inline constexpr DigitRow kPlayTimeDigits{562, 628, 459};

// ---- the board map, right of the middle ------------------------------------------
// Cell (i, j) of layer k is a square of `cell` pixels whose top-left corner
// is at (left + cell i, floorTop - cell j - layerRise k); the player's
// cell carries a mark from markNear to markFar pixels inside it.
struct BoardMapLayout {
    int left, floorTop, cell, layerRise, markNear, markFar;
};
inline constexpr BoardMapLayout kBoardMap{551, 371, 10, 100, 3, 7};

// ---- chain pop-ups, sliding in from the left ------------------------------------
// Glyph m of link k stands at x = x0 + glyphPitch m - slideStep s on the
// row top + rowPitch k, where s is how many updates the link's timer is
// from the middle of its life, but at least leastSteps: the pop-up slides
// in, rests through the middle of the link's life and slides out again. A
// glyph right of the picture or left of farLeft is not drawn.
struct ChainPopupLayout {
    int x0, glyphPitch, top, rowPitch, slideStep, leastSteps, farLeft;
};
inline constexpr ChainPopupLayout kChainPopups{601, 22, 53, 22, 20, 30, -1000};

// ---- the tutorial's caption band ------------------------------------------------
inline constexpr ScreenBox kCaptionBand{1, 401, 640, 480};
inline constexpr ScreenSpot kCaptionLines[2] = {{41, 411}, {41, 436}};

// ---- the fade's white squares, over everything ---------------------------------
// columns x rows squares on a grid of `pitch` pixels from (first, first).
struct FadeGridLayout {
    int first, pitch, columns, rows;
};
inline constexpr FadeGridLayout kFadeSquares{1, 80, 8, 6};

// ---- the title -------------------------------------------------------------------
inline constexpr ScreenSprite kTitleLogo{sheet::kLogo, 51, 61};
inline constexpr ScreenSprite kTitleMenuLine{sheet::kMenuLine, 121, 361};
inline constexpr ScreenSprite kTitleReplayLine{sheet::kReplayMenuLine, 121, 396};
inline constexpr ScreenSprite kTitleBottomLine[3] = {
    {sheet::kBottomLineEsc, 221, 441},
    {sheet::kBottomLineMiddle, 261, 441},
    {sheet::kBottomLineQuit, 392, 441},
};
inline constexpr ScreenSprite kTitleScoreHeading{sheet::kScoreTableHeading, 81, 191};
// Rank n's label and score on the row top + pitch n; the score's last
// digit ends in column scoreLastX.
struct ScoreTableLayout {
    int labelX, top, pitch, scoreLastX;
};
inline constexpr ScoreTableLayout kTitleScores{41, 221, 30, 240};
inline constexpr ScreenSprite kTitleFrameRateCaption{sheet::kFrameRateCaption, 401, 221};
inline constexpr ScreenSpot kTitleFrameRateDigits{531, 221};
inline constexpr ScreenSprite kTitleMusicCaption{sheet::kMusicCaption, 401, 251};
inline constexpr ScreenSprite kTitleEffectsCaption{sheet::kEffectsCaption, 401, 281};
inline constexpr int kTitleOptionValueX = 531;  // the on / off after each caption, on its row

}  // namespace screen

}  // namespace mervox
