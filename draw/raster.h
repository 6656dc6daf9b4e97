// The scanline rasterizer under the drawing operations. Pixel rules:
// - pixel centres lie on the integer grid: pixel (x, y) is the point (x, y);
// - fills cover the pixels whose centres lie inside the outline; a centre on
//   a left or top edge is inside, one on a right or bottom edge outside;
// - a one-pixel line is a Bresenham line that includes its first pixel and
//   excludes its last;
// - a wider line is the set of pixels whose centres lie within width/2 of
//   the segment between the two pixel centres (round ends);
// - everything outside the bitmap is clipped; coordinates may lie anywhere
//   in the 32-bit range.
#pragma once

#include <cstdint>

#include "draw/draw_context.h"

namespace mervox {

// Writes `pixel` to columns [x0, x1) of row y, clipped to the bitmap.
void FillRowSpan(const DrawContext& dc, int64_t y, int64_t x0, int64_t x1, uint32_t pixel);

// Writes `pixel` to the rectangle [x0, x1) x [y0, y1), clipped.
void FillPixelRect(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                   uint32_t pixel);

// Fills the polygons together with the alternate (even-odd) rule: a pixel
// is filled when a ray from its centre crosses the outlines an odd number
// of times. counts[k] points of pts belong to polygon k.
void FillPolygonsEvenOdd(const DrawContext& dc, const Point* pts, const int* counts, int polygons,
                         uint32_t pixel);

// One segment with the given pen (no-op for a null pen).
void StrokeSegment(const DrawContext& dc, const Pen& pen, Point a, Point b);

// A one-pixel Bresenham segment: first pixel drawn, last pixel not.
void ThinSegment(const DrawContext& dc, Point a, Point b, uint32_t pixel);

// A round-ended segment `width` pixels wide between the pixel centres of a and b.
void WideSegment(const DrawContext& dc, Point a, Point b, int width, uint32_t pixel);

}  // namespace mervox
