// number.png: the large, medium and small digit strips and every label and
// banner of a round.
#include <string>

#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"
#include "tools/assets/text_line.h"

namespace mervox_assets {

namespace {

// Draws the figures 0-9 of one strip, each centred in its own cell and
// clipped to it, so neighbouring glyphs never touch.
void DrawDigitStrip(cairo_t* cr, const FontFace& font, int x0, int y0, int cell, double digitHeight,
                    double outline, double widen) {
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

bool WriteNumberSheet(const std::string& path, const FontFace& font) {
    Canvas canvas = NewCanvas(540, 215);
    cairo_t* cr = canvas.cr;

    // Digit strips: large 45 x 45 at (45d, 0), medium 30 x 30 at (30d, 45),
    // small 20 x 20 at (20d, 75) followed by the letter x at (200, 75).
    DrawDigitStrip(cr, font, 0, 0, 45, 32, 2.5, 1.3);
    DrawDigitStrip(cr, font, 0, 45, 30, 21, 2.0, 1.35);
    DrawDigitStrip(cr, font, 0, 75, 20, 14, 1.5, 1.45);
    {
        TextStyle x = DigitStyle(SizeForDigitHeight(cr, font, 14), 1.5);
        x.widen = 1.2;
        DrawTextInBox(cr, font, "x", Box{200, 75, 20, 20}, x, Align::Centre, 0);
    }

    // Demonstration label (400, 0) 140 x 20. Its left 50 columns are the top
    // rows of the large 8 and 9, so its lettering keeps to the columns
    // beyond the large strip (x 450 onward).
    DrawRuns(cr, font, {{"DEMO", KeyStyle(16)}, {" PLAY", CaptionStyle(16)}}, Box{450, 0, 90, 20}, 1.0,
             Align::Centre, 1);

    // Captions above the figures of a round.
    DrawHudLabel(cr, font, "TIME", Box{300, 45, 60, 15}, kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "LEVEL UP!", Box{360, 45, 88, 15}, kLemon, kAmber, Align::Centre);
    DrawHudLabel(cr, font, "QUOTA", Box{300, 60, 60, 15}, kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "LEVEL", Box{370, 60, 80, 15}, kWhite, kIce, Align::Left);
    DrawHudLabel(cr, font, "SCORE", Box{370, 75, 80, 15}, kWhite, kIce, Align::Left);

    // Replay label (220, 75) 120 x 20.
    DrawRuns(cr, font, {{"REPLAY", KeyStyle(17)}}, Box{220, 75, 120, 20}, 2.0, Align::Centre, 2);

    // Beside each push arrow (early levels): the arrow pushes.
    DrawRuns(cr, font, {{"PUSH!", KeyStyle(15)}}, Box{350, 95, 75, 20}, 1.0, Align::Centre, 2);

    // What the keys do: kick while a push is armed; jump and turn always.
    DrawRuns(cr, font, {{"Z", KeyStyle(15)}, {":KICK", CaptionStyle(15)}}, Box{350, 115, 100, 20}, 1.0,
             Align::Left, 2);
    DrawRuns(cr, font,
             {{"X", KeyStyle(13)},
              {":JUMP", CaptionStyle(13)},
              {" Q/E", KeyStyle(13)},
              {":TURN", CaptionStyle(13)}},
             Box{350, 135, 100, 20}, 0.0, Align::Left, 1);

    // Banners: end of round, ready, go.
    DrawTextInBox(cr, font, "GAME OVER", Box{0, 95, 350, 60},
                  BannerStyle(46, Rgba{1.0, 0.85, 0.55}, Rgba{0.95, 0.25, 0.15}), Align::Centre, 4);
    DrawTextInBox(cr, font, "READY?", Box{0, 155, 300, 60}, BannerStyle(48, kWhite, kSky),
                  Align::Centre, 4);
    DrawTextInBox(cr, font, "GO!", Box{300, 155, 150, 60}, BannerStyle(52, kLemon, kAmber),
                  Align::Centre, 4);

    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
