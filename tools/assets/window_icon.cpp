// The game's icon: a small stack of the game's blocks, drawn anew at each
// size a desktop shows (16 to 256 pixels) rather than shrunk from one. From
// 32 pixels up, three blocks; at 24 two, at 16 one, with outlines on whole
// pixels so that the few pixels left stay crisp.
#include <cmath>

#include "tools/assets/block_art.h"
#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"

namespace mervox_assets {

namespace {

const Rgba kBlue{0.20, 0.55, 0.95};
const Rgba kRed{0.95, 0.25, 0.25};
const Rgba kYellow{0.95, 0.80, 0.15};

void DrawIcon(cairo_t* cr, int size) {
    if (size >= 32) {
        // The 32-pixel design, drawn at the size: outlines grow more slowly
        // than the blocks so that large icons do not look heavy.
        const double k = size / 32.0;
        const double outline = 1.2 * std::sqrt(k);
        DrawCube(cr, 9.5 * k, 14.5 * k, 15 * k, kBlue, outline);
        DrawCube(cr, 22.5 * k, 14.5 * k, 15 * k, kRed, outline);
        DrawCube(cr, 16 * k, 2.0 * k, 15 * k, kYellow, outline);
    } else if (size >= 24) {
        // Two blocks, the yellow on the blue.
        DrawCube(cr, 12, 9.5, 13, kBlue, 1.0);
        DrawCube(cr, 12, 1.5, 11, kYellow, 1.0);
    } else {
        // One block filling the square.
        DrawCube(cr, size / 2.0, 2.5, size - 3.0, kBlue, 1.0);
    }
}

}  // namespace

bool WriteIcon(const std::string& path, int size) {
    Canvas canvas = NewCanvas(size, size);
    DrawIcon(canvas.cr, size);
    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
