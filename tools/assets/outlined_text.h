// Arcade-style lettering for the sprite sheets: a fill with a vertical
// gradient, thickened by a stroke of its own colour, inside a dark outline
// and over an optional drop shadow, so that every label stays readable on
// the pale floor, on the dark board and on the white of a fade.
#pragma once

#include <cairo.h>
#include <string>

#include "tools/assets/font_face.h"

namespace mervox_assets {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

struct TextStyle {
    double size = 16;                  // font size in pixels
    Rgba top{1, 1, 1}, bottom{1, 1, 1};  // fill from the top of the letters to their foot
    Rgba outline{0.06, 0.08, 0.22};
    double outlineWidth = 2;           // pixels on each side of the letters
    double embolden = 1;               // extra stroke width in the fill colour
    double shadow = 0;                 // drop-shadow offset (right and down), 0 for none
    Rgba shadowColour{0.02, 0.03, 0.1, 0.55};
    double widen = 1.0;                // horizontal stretch of the letters (boxed text)
};

struct Box {
    double x = 0, y = 0, w = 0, h = 0;
};

enum class Align { Left, Centre, Right };

// Lays `text` (UTF-8) out in `box`, clipped to it: vertically centred on the
// height of capital letters (or on the text's own ink when it is not plain
// ASCII), horizontally aligned with `inset` pixels kept free at the aligned
// side(s), and condensed horizontally when it would not fit.
void DrawTextInBox(cairo_t* cr, const FontFace& font, const std::string& text, const Box& box,
                   const TextStyle& style, Align align = Align::Centre, double inset = 1);

// Draws `text` with its baseline starting at (x, baseline), squeezed
// horizontally by `scaleX`. Not clipped.
void DrawTextAt(cairo_t* cr, const FontFace& font, const std::string& text, double x, double baseline,
                double scaleX, const TextStyle& style);

// Width in pixels of the letters' ink at scale 1, outline included.
double InkWidth(cairo_t* cr, const FontFace& font, const std::string& text, const TextStyle& style);

// Fills and outlines the current path in the style's colours (used for
// shapes drawn next to the lettering, such as key caps and medals).
void PaintShape(cairo_t* cr, double top, double bottom, const TextStyle& style);

void SetColour(cairo_t* cr, const Rgba& c);

// Letter-spaced lines (menu lines): every character advances by its own
// width plus `tracking` pixels. Width from the first letter's origin to the
// last letter's advance.
double TrackedWidth(cairo_t* cr, const FontFace& font, const std::string& text, double size,
                    double tracking);
void DrawTracked(cairo_t* cr, const FontFace& font, const std::string& text, double x, double baseline,
                 double tracking, const TextStyle& style, double scaleX = 1.0);

// The baseline that centres capital letters of `size` in [top, top + height).
double CapBaseline(cairo_t* cr, const FontFace& font, double size, double top, double height);

// The font size whose digit "0" is `height` pixels tall.
double SizeForDigitHeight(cairo_t* cr, const FontFace& font, double height);

}  // namespace mervox_assets
