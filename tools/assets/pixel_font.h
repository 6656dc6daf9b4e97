// A 5 x 7 pixel font for the tiny strip (11 x 11 cells): at that size an
// outline font turns to mush, while whole pixels with a one-pixel outline
// stay sharp on any background.
#pragma once

#include <cairo.h>

namespace mervox_assets {

// Draws character `ch` (0-9, '.', 'F', 'P', 'S') with its top-left lit
// pixel box at (x, y): a light fill and a dark outline one pixel around it.
// Unknown characters draw nothing.
void DrawPixelChar(cairo_t* cr, char ch, int x, int y);

}  // namespace mervox_assets
