// rank.png: the place marks and the new-record label of the end of a round,
// the heading and rank labels of the title's score table, the tiny digit
// strip and the frames-per-second label.
#include <cmath>
#include <string>

#include "tools/assets/pixel_font.h"
#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"
#include "tools/assets/text_line.h"

namespace mervox_assets {

namespace {

struct Medal {
    Rgba light, dark;
};

const Medal kMedals[3] = {
    {{1.00, 0.95, 0.55}, {0.95, 0.62, 0.05}},  // gold
    {{1.00, 1.00, 1.00}, {0.62, 0.68, 0.78}},  // silver
    {{1.00, 0.82, 0.62}, {0.75, 0.40, 0.18}},  // bronze
};

const char* const kPlaces[3] = {"1ST", "2ND", "3RD"};

// A place mark: a round medal at the left and the place beside it.
void DrawPlaceMark(cairo_t* cr, const FontFace& font, int n) {
    const double y = 30.0 * n;
    ClipTo(cr, 0, y, 90, 30);
    TextStyle disc;
    disc.top = kMedals[n].light;
    disc.bottom = kMedals[n].dark;
    disc.outlineWidth = 1.5;
    disc.embolden = 0;
    cairo_new_path(cr);
    cairo_arc(cr, 15, y + 15, 11, 0, 6.283185307179586);
    PaintShape(cr, y + 4, y + 26, disc);
    // A star on the medal.
    cairo_new_path(cr);
    for (int k = 0; k < 10; ++k) {
        const double a = -1.5707963267948966 + k * 0.6283185307179586;
        const double r = (k % 2 == 0) ? 7.0 : 3.0;
        const double px = 15 + r * std::cos(a), py = y + 15.5 + r * std::sin(a);
        if (k == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill(cr);
    TextStyle s = BannerStyle(22, kMedals[n].light, kMedals[n].dark);
    s.outlineWidth = 2.5;
    s.embolden = 1.5;
    s.shadow = 2;
    DrawTextInBox(cr, font, kPlaces[n], Box{28, y, 62, 30}, s, Align::Centre, 1);
    cairo_restore(cr);
}

}  // namespace

bool WriteRankSheet(const std::string& path, const FontFace& font) {
    Canvas canvas = NewCanvas(270, 90);
    cairo_t* cr = canvas.cr;

    for (int n = 0; n < 3; ++n) DrawPlaceMark(cr, font, n);

    // New-record label (90, 0) 180 x 30.
    {
        TextStyle s = BannerStyle(24, Rgba{1.0, 0.75, 0.95}, Rgba{0.95, 0.2, 0.55});
        s.outlineWidth = 2.5;
        s.embolden = 1.5;
        s.shadow = 2;
        DrawTextInBox(cr, font, "NEW RECORD!", Box{90, 0, 180, 30}, s, Align::Centre, 2);
    }

    // Heading of the score table (90, 30) 120 x 20.
    DrawRuns(cr, font, {{"HIGH SCORES", CaptionStyle(16)}}, Box{90, 30, 120, 20}, 0.5, Align::Centre, 1);

    // Rank labels (90 + 60i, 50) 60 x 20, in the medal colours.
    for (int i = 0; i < 3; ++i) {
        TextStyle s = CaptionStyle(17);
        s.top = kMedals[i].light;
        s.bottom = kMedals[i].dark;
        DrawRuns(cr, font, {{kPlaces[i], s}}, Box{90.0 + 60 * i, 50, 60, 20}, 2, Align::Left, 2);
    }

    // Tiny strip: digits at (90 + 11d, 71), the full stop at (200, 71), each
    // 11 x 11 with the 5 x 7 glyph placed in the middle of its cell.
    for (int d = 0; d < 10; ++d) DrawPixelChar(cr, static_cast<char>('0' + d), 90 + 11 * d + 3, 73);
    DrawPixelChar(cr, '.', 200 + 3, 73);
    // Frames-per-second label (211, 71) 25 x 11.
    DrawPixelChar(cr, 'F', 211 + 2, 73);
    DrawPixelChar(cr, 'P', 211 + 9, 73);
    DrawPixelChar(cr, 'S', 211 + 16, 73);

    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
