// A line made of runs in different styles (key names in yellow, words in
// white), laid out one after the other inside a sheet rectangle.
#pragma once

#include <string>
#include <vector>

#include "tools/assets/outlined_text.h"

namespace mervox_assets {

struct TextRun {
    std::string text;  // ASCII
    TextStyle style;
};

// Draws the runs side by side (with `tracking` between letters), centred in
// `box` (or starting `inset` from its left edge for Align::Left), condensed
// to fit the box when needed, clipped to the box.
void DrawRuns(cairo_t* cr, const FontFace& font, const std::vector<TextRun>& runs, const Box& box,
              double tracking, Align align = Align::Centre, double inset = 2);

}  // namespace mervox_assets
