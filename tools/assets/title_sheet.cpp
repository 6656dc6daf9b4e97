// title.png: the logo, the menu lines (whose pieces also make the bottom
// line and the caption shown during replays), the option captions and the
// on / off values.
#include <string>

#include "tools/assets/block_art.h"
#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"
#include "tools/assets/text_line.h"

namespace mervox_assets {

namespace {

constexpr double kMenuSize = 19;
constexpr double kMenuTracking = 6;

// The six letters of the logo, each in the colour of one kind of block.
void DrawLogo(cairo_t* cr, const FontFace& font) {
    const Box box = BoxOf(sheet::kLogo);
    ClipTo(cr, box.x, box.y, box.w, box.h);
    const char* word = "mervox";
    const Rgba tops[6] = {{1.00, 0.55, 0.55}, {1.00, 0.85, 0.45}, {0.65, 0.95, 0.55},
                          {0.55, 0.85, 1.00}, {0.80, 0.65, 1.00}, {1.00, 0.65, 0.90}};
    const Rgba feet[6] = {{0.85, 0.10, 0.15}, {0.95, 0.50, 0.05}, {0.15, 0.65, 0.20},
                          {0.10, 0.40, 0.90}, {0.45, 0.20, 0.85}, {0.85, 0.20, 0.60}};
    // The letters have no ascenders or descenders: their x-height fills the
    // band, leaving room for the outline and the shadow.
    UseFont(cr, font, 100);
    cairo_text_extents_t xe;
    cairo_text_extents(cr, "x", &xe);
    TextStyle style;
    style.size = 100 * 40.0 / xe.height;
    style.outlineWidth = 3.5;
    style.embolden = 5.0;
    style.shadow = 3.5;
    UseFont(cr, font, style.size);
    cairo_text_extents_t xs;
    cairo_text_extents(cr, "x", &xs);
    const double advance = xs.x_advance + 14;
    const double width = advance * 5 + xs.x_advance;
    const double x0 = box.x + (box.w - width) / 2;
    const double baseline = box.y + (box.h - style.shadow - xs.height) / 2 - xs.y_bearing;
    for (int i = 0; i < 6; ++i) {
        style.top = tops[i];
        style.bottom = feet[i];
        DrawTextAt(cr, font, std::string(1, word[i]), x0 + advance * i, baseline, 1.0, style);
    }
    // Two stacks of blocks flank the word.
    const double size = 24;
    DrawCube(cr, 52, 70, size, Rgba{0.20, 0.55, 0.95}, 2);
    DrawCube(cr, 80, 70, size, Rgba{0.95, 0.25, 0.25}, 2);
    DrawCube(cr, 66, 47, size, Rgba{0.95, 0.80, 0.15}, 2);
    DrawCube(cr, 460, 70, size, Rgba{0.25, 0.75, 0.30}, 2);
    DrawCube(cr, 488, 70, size, Rgba{0.60, 0.35, 0.90}, 2);
    DrawCube(cr, 474, 47, size, Rgba{0.95, 0.50, 0.15}, 2);
    cairo_restore(cr);
}

std::vector<TextRun> Words(const std::string& text) { return {{text, CaptionStyle(kMenuSize)}}; }

}  // namespace

bool WriteTitleSheet(const std::string& path, const FontFace& font, int scale) {
    Canvas canvas = NewCanvas(mervox::kTitleSheetSize.w, mervox::kTitleSheetSize.h, scale);
    cairo_t* cr = canvas.cr;
    const TextStyle word = CaptionStyle(kMenuSize);
    const TextStyle key = KeyStyle(kMenuSize);

    // First menu line: "PRESS Z KEY" ends 6 columns before the end of the
    // in-game caption, so that caption (the left part of the line, blinking
    // in replays and demonstrations, where Z ends them) reads on its own.
    {
        const Box line = BoxOf(sheet::kMenuLine);
        const double caption = sheet::kInGameCaption.w;
        DrawRuns(cr, font, {{"PRESS ", word}, {"Z", key}, {" KEY", word}},
                 Box{line.x, line.y, caption - 6, line.h}, kMenuTracking, Align::Right, 1);
        DrawRuns(cr, font, Words("TO START"), Box{line.x + caption + 4, line.y, line.w - caption - 4, line.h},
                 kMenuTracking, Align::Left, 1);
    }

    // Replay menu line, in three parts: its middle is also the middle of the
    // bottom line.
    {
        const Box line = BoxOf(sheet::kReplayMenuLine);
        const Box middle = BoxOf(sheet::kBottomLineMiddle);
        DrawRuns(cr, font, {{"PRESS ", word}, {"R", key}}, Box{line.x, line.y, middle.x - line.x - 1, line.h},
                 kMenuTracking, Align::Right, 1);
        DrawRuns(cr, font, Words("KEY TO"), middle, kMenuTracking, Align::Centre, 1);
        const double after = middle.x + middle.w + 1;
        DrawRuns(cr, font, Words("REPLAY"), Box{after, line.y, line.x + line.w - after, line.h}, kMenuTracking,
                 Align::Left, 1);
    }

    // Bottom line: "ESC", the middle above, "QUIT".
    DrawRuns(cr, font, {{"ESC", key}}, BoxOf(sheet::kBottomLineEsc), 1.5, Align::Right, 1);
    DrawRuns(cr, font, Words("QUIT"), BoxOf(sheet::kBottomLineQuit), 4, Align::Left, 1);

    DrawLogo(cr, font);

    // Option captions and values.
    const TextStyle optWord = CaptionStyle(18);
    const TextStyle optKey = KeyStyle(18);
    DrawRuns(cr, font, {{"F", optKey}, {":FPS", optWord}}, BoxOf(sheet::kFrameRateCaption), 2, Align::Left, 2);
    DrawRuns(cr, font, {{"B", optKey}, {":MUSIC", optWord}}, BoxOf(sheet::kMusicCaption), 2, Align::Left, 2);
    DrawRuns(cr, font, {{"S", optKey}, {":SOUND", optWord}}, BoxOf(sheet::kEffectsCaption), 2, Align::Left, 2);
    TextStyle on = CaptionStyle(18);
    on.top = kMint;
    on.bottom = kGreen;
    TextStyle off = CaptionStyle(18);
    off.top = kRose;
    off.bottom = kRed;
    DrawRuns(cr, font, {{"ON", on}}, BoxOf(sheet::kOptionOn), 2, Align::Left, 3);
    DrawRuns(cr, font, {{"OFF", off}}, BoxOf(sheet::kOptionOff), 2, Align::Left, 3);

    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
