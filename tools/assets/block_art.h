// The game's block drawn as a small shaded cube (logo decoration, icon).
#pragma once

#include <cairo.h>

#include "tools/assets/outlined_text.h"

namespace mervox_assets {

// A cube seen from above and in front: a top face `size` wide whose upper
// edge is at `top`, centred on `cx`, with a front face below it. `colour` is
// the lit top; the front is a darker shade of it.
void DrawCube(cairo_t* cr, double cx, double top, double size, Rgba colour, double outline);

}  // namespace mervox_assets
