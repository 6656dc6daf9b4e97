// The drawing operations the game uses, with the platform's pixel rules:
// every figure is filled with the selected brush and outlined with the
// selected pen; right and bottom edges of rectangles and ellipses are
// excluded; everything is clipped to the bitmap.
#pragma once

#include <cstdint>

#include "draw/draw_context.h"

namespace mervox {

// Filled with the brush (even-odd), then outlined with the pen, closed.
void Polygon(DrawContext& dc, const Point* pts, int count);

// Several polygons filled together with the alternate (even-odd) rule, each
// then outlined.
void PolyPolygon(DrawContext& dc, const Point* pts, const int* counts, int polygons);

// A Rectangle with no outline filled with `back`, then PolyPolygon with the
// selected pen and brush: the same picture, with the pixels the polygons
// fill not written twice.
void PolyPolygonOverRectangle(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                              const Brush& back, const Point* pts, const int* counts, int polygons);

// Several open polylines drawn with the pen.
void PolyPolyline(DrawContext& dc, const Point* pts, const int* counts, int lines);

void MoveToEx(DrawContext& dc, int32_t x, int32_t y);
// Draws from the current position to (x, y), excluding (x, y) for a
// one-pixel pen, and makes (x, y) the current position.
void LineTo(DrawContext& dc, int32_t x, int32_t y);

// The rectangle [left, right) x [top, bottom): outline with the pen, inside
// with the brush. With a null pen the filled area loses one more column and
// row on the right and bottom, as the platform does.
void Rectangle(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom);

// The ellipse inscribed in [left, right) x [top, bottom).
void Ellipse(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Whitens [x, x + w) x [y, y + h); negative sizes draw nothing.
void PatBltWhiteness(DrawContext& dc, int32_t x, int32_t y, int32_t w, int32_t h);

// The frame-buffer word written by PatBltWhiteness.
constexpr uint32_t kWhitePixel = 0x00FFFFFFu;

}  // namespace mervox
