// Ellipses: the pixels whose centres lie inside the ellipse inscribed in
// the box [left, right) x [top, bottom). The pen draws a ring of its width
// along the inside of that outline; the brush fills what the ring encloses.
#include <algorithm>
#include <cmath>

#include "draw/gdi_calls.h"
#include "draw/raster.h"

namespace mervox {

namespace {

// Columns [x0, x1) of the ellipse with centre (cx, cy) and semi-axes
// (ax, ay) on the row whose centre is yc; false when the row misses it.
bool EllipseRow(double cx, double cy, double ax, double ay, double yc, int64_t& x0, int64_t& x1) {
    if (ax <= 0 || ay <= 0) return false;
    const double dy = (yc - cy) / ay;
    const double k = 1.0 - dy * dy;
    if (k < 0) return false;
    const double half = ax * std::sqrt(k);
    // Centres x + 0.5 within [cx - half, cx + half].
    double lo = std::max(cx - half, -4.0e12);
    double hi = std::min(cx + half, 4.0e12);
    x0 = static_cast<int64_t>(std::ceil(lo - 0.5));
    x1 = static_cast<int64_t>(std::floor(hi - 0.5)) + 1;
    return x0 < x1;
}

}  // namespace

void Ellipse(DrawContext& dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (dc.pixels == nullptr) return;
    const int64_t l = std::min(left, right), r = std::max(left, right);
    const int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    if (r - l < 1 || b - t < 1) return;
    const bool pen = dc.pen != nullptr && !dc.pen->isNull;
    const bool fill = dc.brush != nullptr && !dc.brush->isNull;
    if (!pen && !fill) return;
    const double cx = (static_cast<double>(l) + static_cast<double>(r)) * 0.5;
    const double cy = (static_cast<double>(t) + static_cast<double>(b)) * 0.5;
    const double ax = (static_cast<double>(r) - static_cast<double>(l)) * 0.5;
    const double ay = (static_cast<double>(b) - static_cast<double>(t)) * 0.5;
    const int ring = pen ? std::max(dc.pen->width, 1) * dc.scale : 0;
    const uint32_t penPixel = pen ? ColourToPixel(dc.pen->colour) : 0;
    const uint32_t brushPixel = fill ? ColourToPixel(dc.brush->colour) : 0;

    const int64_t y0 = std::max<int64_t>(t, 0);
    const int64_t y1 = std::min<int64_t>(b, dc.height);
    for (int64_t y = y0; y < y1; ++y) {
        const double yc = y + 0.5;
        int64_t ox0, ox1;
        if (!EllipseRow(cx, cy, ax, ay, yc, ox0, ox1)) continue;
        int64_t ix0 = 0, ix1 = 0;
        const bool inner = EllipseRow(cx, cy, ax - ring, ay - ring, yc, ix0, ix1);
        if (!inner) {
            FillRowSpan(dc, y, ox0, ox1, pen ? penPixel : brushPixel);
            continue;
        }
        if (fill) FillRowSpan(dc, y, ix0, ix1, brushPixel);
        if (pen) {
            FillRowSpan(dc, y, ox0, ix0, penPixel);
            FillRowSpan(dc, y, ix1, ox1, penPixel);
        }
    }
}

}  // namespace mervox
