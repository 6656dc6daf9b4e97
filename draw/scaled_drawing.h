// Boxes and text of the program's own screens and overlays, laid out in
// pixels of the original 640 x 480 picture and placed at the context's
// drawing scale N: every coordinate N times its value (the pens and fonts
// are already N times their size in the context).
#pragma once

#include <cstdint>

#include "draw/draw_context.h"

namespace mervox {

// A rectangle outlined with the selected pen and filled with the selected
// brush.
void ScaledRectangle(DrawContext& dc, int x0, int y0, int x1, int y1);

// A rectangle of one pixel value, [x0, x1) x [y0, y1).
void ScaledFill(DrawContext& dc, int x0, int y0, int x1, int y1, uint32_t pixel);

// Text in the selected font and colour, its top left at (x, y).
void ScaledText(DrawContext& dc, int x, int y, const char16_t* text, int count);

// Words (ending at their first 0) in `colour`, their top left at (x, y).
void ScaledWords(DrawContext& dc, int x, int y, const char16_t* words, uint32_t colour);

// The words with a one-pixel edge of `edge` around them, as the title's own
// lines are drawn.
void ScaledEdgedWords(DrawContext& dc, int x, int y, const char16_t* words, uint32_t colour, uint32_t edge);

}  // namespace mervox
