#include "draw/gdi_calls.h"

#include <algorithm>

#include "draw/raster.h"

namespace mervox {

namespace {

bool HasFill(const DrawContext& dc) { return dc.brush != nullptr && !dc.brush->isNull; }
bool HasPen(const DrawContext& dc) { return dc.pen != nullptr && !dc.pen->isNull; }

void OutlineClosed(const DrawContext& dc, const Point* pts, int count) {
    if (!HasPen(dc) || count < 2) return;
    for (int v = 0; v < count; ++v) StrokeSegment(dc, *dc.pen, pts[v], pts[(v + 1) % count]);
}

}  // namespace

void Polygon(DrawContext& dc, const Point* pts, int count) {
    if (dc.pixels == nullptr || count < 2) return;
    if (HasFill(dc)) FillPolygonsEvenOdd(dc, pts, &count, 1, ColourToPixel(dc.brush->colour));
    OutlineClosed(dc, pts, count);
}

void PolyPolygon(DrawContext& dc, const Point* pts, const int* counts, int polygons) {
    if (dc.pixels == nullptr || polygons <= 0) return;
    if (HasFill(dc)) FillPolygonsEvenOdd(dc, pts, counts, polygons, ColourToPixel(dc.brush->colour));
    int base = 0;
    for (int k = 0; k < polygons; ++k) {
        OutlineClosed(dc, pts + base, counts[k]);
        base += counts[k] > 0 ? counts[k] : 0;
    }
}

void PolyPolygonOverRectangle(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom,
                              const Brush& back, const Point* pts, const int* counts, int polygons) {
    if (dc.pixels == nullptr) return;
    const int64_t l = std::min(left, right), r = std::max(left, right);
    const int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    const int64_t n = dc.scale;
    if (back.isNull || polygons <= 0 || !HasFill(dc)) {
        if (!back.isNull) FillPixelRect(dc, l, t, r - n, b - n, ColourToPixel(back.colour));
        PolyPolygon(dc, pts, counts, polygons);
        return;
    }
    FillRectUnderPolygons(dc, l, t, r - n, b - n, ColourToPixel(back.colour), pts, counts, polygons,
                          ColourToPixel(dc.brush->colour));
    int base = 0;
    for (int k = 0; k < polygons; ++k) {
        OutlineClosed(dc, pts + base, counts[k]);
        base += counts[k] > 0 ? counts[k] : 0;
    }
}

void PolyPolyline(DrawContext& dc, const Point* pts, const int* counts, int lines) {
    if (dc.pixels == nullptr || !HasPen(dc)) return;
    int base = 0;
    for (int k = 0; k < lines; ++k) {
        for (int v = 0; v + 1 < counts[k]; ++v) StrokeSegment(dc, *dc.pen, pts[base + v], pts[base + v + 1]);
        base += counts[k] > 0 ? counts[k] : 0;
    }
}

void MoveToEx(DrawContext& dc, int32_t x, int32_t y) {
    dc.curX = x;
    dc.curY = y;
}

void LineTo(DrawContext& dc, int32_t x, int32_t y) {
    if (dc.pixels != nullptr && HasPen(dc)) StrokeSegment(dc, *dc.pen, Point{dc.curX, dc.curY}, Point{x, y});
    dc.curX = x;
    dc.curY = y;
}

void Rectangle(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (dc.pixels == nullptr) return;
    int64_t l = std::min(left, right), r = std::max(left, right);
    int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    // At drawing scale N the one pixel of the platform's rules is N pixels.
    const int64_t n = dc.scale;
    if (!HasPen(dc)) {
        if (HasFill(dc)) FillPixelRect(dc, l, t, r - n, b - n, ColourToPixel(dc.brush->colour));
        return;
    }
    if (r - l < n || b - t < n) return;
    if (HasFill(dc)) FillPixelRect(dc, l + n, t + n, r - n, b - n, ColourToPixel(dc.brush->colour));
    const Pen& pen = *dc.pen;
    if (pen.width <= 1) {
        const uint32_t pixel = ColourToPixel(pen.colour);
        FillPixelRect(dc, l, t, r, t + n, pixel);
        FillPixelRect(dc, l, b - n, r, b, pixel);
        FillPixelRect(dc, l, t, l + n, b, pixel);
        FillPixelRect(dc, r - n, t, r, b, pixel);
    } else {
        auto clamp32 = [](int64_t v) {
            return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        const Point c[4] = {{clamp32(l), clamp32(t)},
                            {clamp32(r - n), clamp32(t)},
                            {clamp32(r - n), clamp32(b - n)},
                            {clamp32(l), clamp32(b - n)}};
        OutlineClosed(dc, c, 4);
    }
}

void PatBltWhiteness(DrawContext& dc, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (dc.pixels == nullptr || w <= 0 || h <= 0) return;
    FillPixelRect(dc, x, y, static_cast<int64_t>(x) + w, static_cast<int64_t>(y) + h, kWhitePixel);
}

}  // namespace mervox
