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
    if (!HasPen(dc)) {
        if (HasFill(dc)) FillPixelRect(dc, l, t, r - 1, b - 1, ColourToPixel(dc.brush->colour));
        return;
    }
    if (r - l < 1 || b - t < 1) return;
    if (HasFill(dc)) FillPixelRect(dc, l + 1, t + 1, r - 1, b - 1, ColourToPixel(dc.brush->colour));
    const Pen& pen = *dc.pen;
    if (pen.width <= 1) {
        const uint32_t pixel = ColourToPixel(pen.colour);
        FillRowSpan(dc, t, l, r, pixel);
        FillRowSpan(dc, b - 1, l, r, pixel);
        FillPixelRect(dc, l, t, l + 1, b, pixel);
        FillPixelRect(dc, r - 1, t, r, b, pixel);
    } else {
        auto clamp32 = [](int64_t v) {
            return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        const Point c[4] = {{clamp32(l), clamp32(t)},
                            {clamp32(r - 1), clamp32(t)},
                            {clamp32(r - 1), clamp32(b - 1)},
                            {clamp32(l), clamp32(b - 1)}};
        OutlineClosed(dc, c, 4);
    }
}

void PatBltWhiteness(DrawContext& dc, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (dc.pixels == nullptr || w <= 0 || h <= 0) return;
    FillPixelRect(dc, x, y, static_cast<int64_t>(x) + w, static_cast<int64_t>(y) + h, kWhitePixel);
}

}  // namespace mervox
