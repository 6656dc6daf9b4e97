// Where every picture lies on the three sprite sheets. The drawing code cuts
// its sprites from these rectangles, the asset generator draws each picture
// into its rectangle, and the tests of the generated sheets check each one:
// this table is the only place the rectangles are written.
//
// Header only, with no dependencies, so that the generator can use it
// without linking the game.
#pragma once

#include <string>

namespace mervox {

enum class SheetId { Number, Title, Rank };

// The sheet's file in the game folder: data/number.png and the like, and
// for drawing scale N above 1 the same pictures drawn N times larger,
// data/number@Nx.png (every rectangle below times N).
inline std::string SheetFileName(SheetId sheet, int scale = 1) {
    const char* base = sheet == SheetId::Number ? "data/number" : sheet == SheetId::Title ? "data/title" : "data/rank";
    return std::string(base) + (scale > 1 ? "@" + std::to_string(scale) + "x" : std::string()) + ".png";
}

// A picture on a sheet: its top-left corner, its size, and what it is.
struct SheetRect {
    SheetId sheet;
    int x, y, w, h;
    const char* what;
};

// The smallest size of each sheet: every rectangle lies inside it.
struct SheetSize {
    int w, h;
};
inline constexpr SheetSize kNumberSheetSize{540, 215};
inline constexpr SheetSize kTitleSheetSize{540, 120};
inline constexpr SheetSize kRankSheetSize{270, 90};

// A strip of the digits 0-9 side by side, digit d at (x0 + d * cellWidth, y),
// some followed by one extra glyph.
struct DigitStrip {
    int cellWidth;
    int cellHeight;
    int x0;          // source x of digit 0
    int y;           // source y of the strip
    int advance;     // pen advance between glyphs
    char extraChar;  // character with its own glyph after the digits (0: none)
    int extraX;      // source x of that glyph
};

// large, medium and small strips on the number sheet, tiny on the rank sheet
inline constexpr DigitStrip kLargeDigits{45, 45, 0, 0, 45, 0, 0};
inline constexpr DigitStrip kMediumDigits{30, 30, 0, 45, 30, 0, 0};
inline constexpr DigitStrip kSmallDigits{20, 20, 0, 75, 20, 'x', 200};
inline constexpr DigitStrip kTinyDigits{11, 11, 90, 71, 11, '.', 200};

namespace sheet {

// ---- number.png: the labels and banners of a round ---------------------------
inline constexpr SheetRect kTimeLabel{SheetId::Number, 300, 45, 60, 15, "time label"};
inline constexpr SheetRect kLevelUpLabel{SheetId::Number, 360, 45, 88, 15, "level-up label"};
inline constexpr SheetRect kQuotaLabel{SheetId::Number, 300, 60, 60, 15, "quota label"};
inline constexpr SheetRect kLevelLabel{SheetId::Number, 370, 60, 80, 15, "level label"};
inline constexpr SheetRect kScoreLabel{SheetId::Number, 370, 75, 80, 15, "score label"};
inline constexpr SheetRect kReplayLabel{SheetId::Number, 220, 75, 120, 20, "replay label"};
// Its left 50 columns are the top rows of the large 8 and 9.
inline constexpr SheetRect kDemoLabel{SheetId::Number, 400, 0, 140, 20, "demonstration label"};
inline constexpr SheetRect kPushArrowLabel{SheetId::Number, 350, 95, 75, 20, "push-arrow label"};
inline constexpr SheetRect kKickKeyLabel{SheetId::Number, 350, 115, 100, 20, "kick key label"};
inline constexpr SheetRect kKeysLabel{SheetId::Number, 350, 135, 100, 20, "keys label"};
inline constexpr SheetRect kEndOfRoundBanner{SheetId::Number, 0, 95, 350, 60, "end-of-round banner"};
inline constexpr SheetRect kReadyBanner{SheetId::Number, 0, 155, 300, 60, "ready banner"};
inline constexpr SheetRect kGoBanner{SheetId::Number, 300, 155, 150, 60, "go banner"};

// ---- title.png: the title screen, and one caption of a round ---------------------
inline constexpr SheetRect kLogo{SheetId::Title, 0, 40, 540, 60, "logo"};
inline constexpr SheetRect kMenuLine{SheetId::Title, 0, 0, 400, 20, "first menu line"};
inline constexpr SheetRect kReplayMenuLine{SheetId::Title, 0, 20, 400, 20, "replay menu line"};
// The bottom line is put together from three pieces; the middle one is the
// middle of the replay menu line.
inline constexpr SheetRect kBottomLineEsc{SheetId::Title, 400, 20, 40, 20, "bottom line, first piece"};
inline constexpr SheetRect kBottomLineMiddle{SheetId::Title, 140, 20, 131, 20, "bottom line, second piece"};
inline constexpr SheetRect kBottomLineQuit{SheetId::Title, 450, 20, 60, 20, "bottom line, third piece"};
inline constexpr SheetRect kFrameRateCaption{SheetId::Title, 0, 100, 110, 20, "frame-rate caption"};
inline constexpr SheetRect kMusicCaption{SheetId::Title, 110, 100, 110, 20, "music caption"};
inline constexpr SheetRect kEffectsCaption{SheetId::Title, 220, 100, 110, 20, "effects caption"};
inline constexpr SheetRect kOptionOn{SheetId::Title, 330, 100, 60, 20, "on"};
inline constexpr SheetRect kOptionOff{SheetId::Title, 390, 100, 60, 20, "off"};
// The left 216 columns of the first menu line, blinking in replays and
// demonstrations.
inline constexpr SheetRect kInGameCaption{SheetId::Title, 0, 0, 216, 20, "in-game caption"};

// ---- rank.png: places, records, the score table's heading ---------------------
inline constexpr SheetRect kPlaceMarks[3] = {
    {SheetId::Rank, 0, 0, 90, 30, "place mark"},
    {SheetId::Rank, 0, 30, 90, 30, "place mark"},
    {SheetId::Rank, 0, 60, 90, 30, "place mark"},
};
inline constexpr SheetRect kNewRecordLabel{SheetId::Rank, 90, 0, 180, 30, "new-record label"};
inline constexpr SheetRect kScoreTableHeading{SheetId::Rank, 90, 30, 120, 20, "score-table heading"};
inline constexpr SheetRect kRankLabels[3] = {
    {SheetId::Rank, 90, 50, 60, 20, "rank label"},
    {SheetId::Rank, 150, 50, 60, 20, "rank label"},
    {SheetId::Rank, 210, 50, 60, 20, "rank label"},
};
inline constexpr SheetRect kFpsLabel{SheetId::Rank, 211, 71, 25, 11, "frames-per-second label"};

// Every rectangle above (the digit strips apart).
inline constexpr SheetRect kAll[] = {
    kTimeLabel, kLevelUpLabel, kQuotaLabel, kLevelLabel, kScoreLabel, kReplayLabel, kDemoLabel,
    kPushArrowLabel, kKickKeyLabel, kKeysLabel, kEndOfRoundBanner, kReadyBanner, kGoBanner,
    kLogo, kMenuLine, kReplayMenuLine, kBottomLineEsc, kBottomLineMiddle, kBottomLineQuit,
    kFrameRateCaption, kMusicCaption, kEffectsCaption, kOptionOn, kOptionOff, kInGameCaption,
    kPlaceMarks[0], kPlaceMarks[1], kPlaceMarks[2], kNewRecordLabel, kScoreTableHeading,
    kRankLabels[0], kRankLabels[1], kRankLabels[2], kFpsLabel,
};

}  // namespace sheet

}  // namespace mervox
