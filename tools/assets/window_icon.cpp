// icon.png: the 32 x 32 window icon, a small stack of the game's blocks.
#include "tools/assets/block_art.h"
#include "tools/assets/sheet_style.h"
#include "tools/assets/sheets.h"

namespace mervox_assets {

bool WriteWindowIcon(const std::string& path) {
    Canvas canvas = NewCanvas(32, 32);
    cairo_t* cr = canvas.cr;
    DrawCube(cr, 9.5, 14.5, 15, Rgba{0.20, 0.55, 0.95}, 1.2);
    DrawCube(cr, 22.5, 14.5, 15, Rgba{0.95, 0.25, 0.25}, 1.2);
    DrawCube(cr, 16, 2.0, 15, Rgba{0.95, 0.80, 0.15}, 1.2);
    return SaveCanvas(canvas, path);
}

}  // namespace mervox_assets
