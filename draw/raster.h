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

#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "draw/draw_context.h"

namespace mervox {

// Writes v to n words from p. Short runs (a line's few pixels across) are
// stored directly; longer ones go through the C library's wide-character
// fill, which is vectorised (a wchar_t is one 32-bit word here).
static_assert(sizeof(wchar_t) == sizeof(uint32_t));
inline void FillWords(uint32_t* p, size_t n, uint32_t v) {
    if (n <= 16) {
        for (size_t k = 0; k < n; ++k) p[k] = v;
        return;
    }
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
}

// Writes `pixel` to columns [x0, x1) of row y, clipped to the bitmap.
inline void FillRowSpan(const DrawContext& dc, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
    if (y < 0 || y >= dc.height) return;
    if (x0 < 0) x0 = 0;
    if (x1 > dc.width) x1 = dc.width;
    if (x0 >= x1) return;
    FillWords(dc.pixels + y * dc.width + x0, static_cast<size_t>(x1 - x0), pixel);
}

// Writes `pixel` to the rectangle [x0, x1) x [y0, y1), clipped.
void FillPixelRect(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                   uint32_t pixel);

// Fills the polygons together with the alternate (even-odd) rule: a pixel
// is filled when a ray from its centre crosses the outlines an odd number
// of times. counts[k] points of pts belong to polygon k.
void FillPolygonsEvenOdd(const DrawContext& dc, const Point* pts, const int* counts, int polygons,
                         uint32_t pixel);

// FillPixelRect with `back`, then FillPolygonsEvenOdd with `fill`, row by
// row, writing every pixel of the two once.
void FillRectUnderPolygons(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t back,
                           const Point* pts, const int* counts, int polygons, uint32_t fill);

// One segment with the given pen (no-op for a null pen), at the context's
// drawing scale N: a one-pixel pen draws a Bresenham line N pixels thick,
// a wider pen a round line N times its width.
void StrokeSegment(const DrawContext& dc, const Pen& pen, Point a, Point b);

// A Bresenham segment: first pixel drawn, last pixel not. Each step lights
// `run` pixels across the line (from its own pixel toward larger minor
// coordinates), so that a line at drawing scale N between corners of
// N x N blocks lights exactly the blocks of the line at scale 1.
void ThinSegment(const DrawContext& dc, Point a, Point b, uint32_t pixel, int run = 1);

// A round-ended segment `width` pixels wide between the points `centre`
// pixels right of and below a and b (0.5: their pixel centres; N / 2: the
// centres of the N x N blocks whose corners they are).
void WideSegment(const DrawContext& dc, Point a, Point b, int width, uint32_t pixel, double centre = 0.5);

}  // namespace mervox
