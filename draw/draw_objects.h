// Solid brushes, pens and fonts: the drawing objects selected into a
// DrawContext. Colours are 0x00BBGGRR values (red in the low byte).
#pragma once

#include <cstdint>

typedef struct _cairo_font_face cairo_font_face_t;

namespace mervox {

struct Brush {
    uint32_t colour = 0;  // 0x00BBGGRR
    bool isNull = false;  // the stock null brush: outlines without fill
};

struct Pen {
    uint32_t colour = 0;  // 0x00BBGGRR
    int width = 1;        // 1 draws Bresenham lines, 2..5 round wide lines
    bool isNull = false;  // draws nothing
};

// A font made from one font file: a cell height in pixels (ascent plus
// descent, as a positive font height means) and a weight (400 regular,
// 600 and more drawn emboldened).
struct Font {
    cairo_font_face_t* face = nullptr;  // null when the font could not be made
    double emSize = 0;                  // pixels per em for the cell height asked
    double ascent = 0;                  // pixels from the cell top to the baseline
    double ascentPerEm = 0;             // the same per pixel of em size, for larger scales
    int cellHeight = 0;
    int weight = 400;
};

Brush MakeSolidBrush(uint32_t colour);
Pen MakeSolidPen(int width, uint32_t colour);
Pen MakeNullPen();
const Brush* StockNullBrush();

// The frame-buffer word of a colour: 0x00BBGGRR -> 0x00RRGGBB.
inline uint32_t ColourToPixel(uint32_t colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

}  // namespace mervox
