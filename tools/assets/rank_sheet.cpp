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
    const mervox::SheetRect& mark = sheet::kPlaceMarks[n];
    const double x = mark.x;
    const double y = mark.y;
    ClipTo(cr, x, y, mark.w, mark.h);
    TextStyle disc;
    disc.top = kMedals[n].light;
    disc.bottom = kMedals[n].dark;
    disc.outlineWidth = 1.5;
    disc.embolden = 0;
    cairo_new_path(cr);
    cairo_arc(cr, x + 15, y + 15, 11, 0, 6.283185307179586);
    PaintShape(cr, y + 4, y + 26, disc);
    // A star on the medal.
    cairo_new_path(cr);
    for (int k = 0; k < 10; ++k) {
        const double a = -1.5707963267948966 + k * 0.6283185307179586;
        const double r = (k % 2 == 0) ? 7.0 : 3.0;
        const double px = x + 15 + r * std::cos(a), py = y + 15.5 + r * std::sin(a);
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
    DrawTextInBox(cr, font, kPlaces[n], Box{x + 28, y, mark.w - 28.0, double(mark.h)}, s, Align::Centre, 1);
    cairo_restore(cr);
}

}  // namespace

bool WriteRankSheet(const std::string& path, const FontFace& font, int scale) {
    Canvas canvas = NewCanvas(mervox::kRankSheetSize.w, mervox::kRankSheetSize.h, scale);
    cairo_t* cr = canvas.cr;

    for (int n = 0; n < 3; ++n) DrawPlaceMark(cr, font, n);

    {
        TextStyle s = BannerStyle(24, Rgba{1.0, 0.75, 0.95}, Rgba{0.95, 0.2, 0.55});
        s.outlineWidth = 2.5;
        s.embolden = 1.5;
        s.shadow = 2;
        DrawTextInBox(cr, font, "NEW RECORD!", BoxOf(sheet::kNewRecordLabel), s, Align::Centre, 2);
    }

    DrawRuns(cr, font, {{"HIGH SCORES", CaptionStyle(16)}}, BoxOf(sheet::kScoreTableHeading), 0.5, Align::Centre,
             1);

    // Rank labels, in the medal colours.
    for (int i = 0; i < 3; ++i) {
        TextStyle s = CaptionStyle(17);
        s.top = kMedals[i].light;
        s.bottom = kMedals[i].dark;
        DrawRuns(cr, font, {{kPlaces[i], s}}, BoxOf(sheet::kRankLabels[i]), 2, Align::Left, 2);
    }

    // Tiny strip: the digits and the full stop, each 5 x 7 glyph placed in
    // the middle of its 11 x 11 cell.
    const mervox::DigitStrip& tiny = mervox::kTinyDigits;
    for (int d = 0; d < 10; ++d)
        DrawPixelChar(cr, static_cast<char>('0' + d), tiny.x0 + tiny.cellWidth * d + 3, tiny.y + 2);
    DrawPixelChar(cr, tiny.extraChar, tiny.extraX + 3, tiny.y + 2);
    const mervox::SheetRect& fps = sheet::kFpsLabel;
    DrawPixelChar(cr, 'F', fps.x + 2, fps.y + 2);
    DrawPixelChar(cr, 'P', fps.x + 9, fps.y + 2);
    DrawPixelChar(cr, 'S', fps.x + 16, fps.y + 2);

    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
