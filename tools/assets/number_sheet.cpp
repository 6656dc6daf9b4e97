// number.png: the large, medium and small digit strips and every label and
// banner of a round.
#include <string>

#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"
#include "tools/assets/text_line.h"

namespace mervox_assets {

namespace {

using mervox::DigitStrip;
using mervox::SheetRect;

// Draws the figures 0-9 of one strip, each centred in its own cell and
// clipped to it, so neighbouring glyphs never touch.
void DrawDigitStrip(cairo_t* cr, const FontFace& font, const DigitStrip& strip, double digitHeight,
                    double outline, double widen) {
    const int x0 = strip.x0, y0 = strip.y, cell = strip.cellWidth;
    TextStyle style = DigitStyle(SizeForDigitHeight(cr, font, digitHeight), outline);
    style.widen = widen;  // the font's figures are narrow for a score display
    for (int d = 0; d < 10; ++d) {
        const std::string s(1, static_cast<char>('0' + d));
        DrawTextInBox(cr, font, s, Box{double(x0 + cell * d), double(y0), double(cell), double(cell)},
                      style, Align::Centre, 0);
    }
}

// A small caption of the in-game display (15 pixels high).
void DrawHudLabel(cairo_t* cr, const FontFace& font, const std::string& text, Box box, Rgba top,
                  Rgba bottom, Align align) {
    TextStyle s = CaptionStyle(13.5);
    s.top = top;
    s.bottom = bottom;
    DrawRuns(cr, font, {{text, s}}, box, 1.0, align, 1);
}

}  // namespace

bool WriteNumberSheet(const std::string& path, const FontFace& font, int scale) {
    Canvas canvas = NewCanvas(mervox::kNumberSheetSize.w, mervox::kNumberSheetSize.h, scale);
    cairo_t* cr = canvas.cr;

    // Digit strips: large, medium, and small followed by the letter x.
    DrawDigitStrip(cr, font, mervox::kLargeDigits, 32, 2.5, 1.3);
    DrawDigitStrip(cr, font, mervox::kMediumDigits, 21, 2.0, 1.35);
    DrawDigitStrip(cr, font, mervox::kSmallDigits, 14, 1.5, 1.45);
    {
        const DigitStrip& s = mervox::kSmallDigits;
        TextStyle x = DigitStyle(SizeForDigitHeight(cr, font, 14), 1.5);
        x.widen = 1.2;
        const Box cell{double(s.extraX), double(s.y), double(s.cellWidth), double(s.cellHeight)};
        DrawTextInBox(cr, font, "x", cell, x, Align::Centre, 0);
    }

    // Demonstration label. Its left 50 columns are the top rows of the large
    // 8 and 9, so its lettering keeps to the columns beyond the large strip.
    {
        const SheetRect& r = sheet::kDemoLabel;
        const int strip = mervox::kLargeDigits.x0 + 10 * mervox::kLargeDigits.cellWidth;
        DrawRuns(cr, font, {{"DEMO", KeyStyle(16)}, {" PLAY", CaptionStyle(16)}},
                 Box{double(strip), double(r.y), double(r.x + r.w - strip), double(r.h)}, 1.0, Align::Centre, 1);
    }

    // Captions above the figures of a round.
    DrawHudLabel(cr, font, "TIME", BoxOf(sheet::kTimeLabel), kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "LEVEL UP!", BoxOf(sheet::kLevelUpLabel), kLemon, kAmber, Align::Centre);
    DrawHudLabel(cr, font, "QUOTA", BoxOf(sheet::kQuotaLabel), kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "LEVEL", BoxOf(sheet::kLevelLabel), kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "SCORE", BoxOf(sheet::kScoreLabel), kWhite, kIce, Align::Left);

    DrawRuns(cr, font, {{"REPLAY", KeyStyle(17)}}, BoxOf(sheet::kReplayLabel), 2.0, Align::Centre, 2);

    // Beside each push arrow (early levels): the arrow pushes.
    DrawRuns(cr, font, {{"PUSH!", KeyStyle(15)}}, BoxOf(sheet::kPushArrowLabel), 1.0, Align::Centre, 2);

    // What the keys do: kick while a push is armed; jump and turn always.
    DrawRuns(cr, font, {{"Z", KeyStyle(15)}, {":KICK", CaptionStyle(15)}}, BoxOf(sheet::kKickKeyLabel), 1.0,
             Align::Left, 2);
    DrawRuns(cr, font,
             {{"X", KeyStyle(13)},
              {":JUMP", CaptionStyle(13)},
              {" Q/E", KeyStyle(13)},
              {":TURN", CaptionStyle(13)}},
             BoxOf(sheet::kKeysLabel), 0.0, Align::Left, 1);

    // Banners: end of round, ready, go.
    DrawTextInBox(cr, font, "GAME OVER", BoxOf(sheet::kEndOfRoundBanner),
                  BannerStyle(46, Rgba{1.0, 0.85, 0.55}, Rgba{0.95, 0.25, 0.15}), Align::Centre, 4);
    DrawTextInBox(cr, font, "READY?", BoxOf(sheet::kReadyBanner), BannerStyle(48, kWhite, kSky),
                  Align::Centre, 4);
    DrawTextInBox(cr, font, "GO!", BoxOf(sheet::kGoBanner), BannerStyle(52, kLemon, kAmber),
                  Align::Centre, 4);

    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
