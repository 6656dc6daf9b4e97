// Colour marks: a shape of its own on each block colour, drawn on a face
// so that a player who cannot tell the shades apart still tells the
// colours apart. The shapes differ in kind (disc, triangle, cross, ring,
// bar), so that they read alike at any quarter turn of the board.
#pragma once

#include "draw/draw_context.h"
#include "render/palette.h"

namespace mervox {

// Draws the mark of `colour` (0..4) on the face whose four drawn corners
// are `corners`, in order around it: corner 0 is the face's (u 0, v 0),
// then (1, 0), (1, 1), (0, 1); on a side face v runs upwards. The mark is
// laid out in the face's own coordinates and mapped through the corners,
// so it follows the face's perspective and every scaling of the corners.
// `onDarkening`: the face is being wiped dark (a vanishing block), so the
// mark gets a light edge to read there too. The selected brush and pen
// are put back afterwards.
void DrawColourMark(DrawContext& dc, const Palette& pal, int colour, const Point (&corners)[4],
                    bool onDarkening = false);

}  // namespace mervox
