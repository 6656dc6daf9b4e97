// Lines: one-pixel Bresenham segments and round-ended wide segments.
#include <algorithm>
#include <cmath>

#include "draw/raster.h"

namespace mervox {

namespace {

int64_t FloorDiv(__int128 n, __int128 d) {
    __int128 q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return static_cast<int64_t>(q);
}

}  // namespace

// Step i (0 <= i < n) of a line whose major axis moves by `amaj` and minor
// axis by `amin` (amaj >= amin >= 0) is offset on the minor axis by
// round(i * amin / amaj) = floor((2 i amin + bias) / (2 amaj)). A line
// passing exactly halfway between two pixels lights the upper one of two
// stacked pixels and the left one of two side by side (the diamond rule),
// so halves round toward the smaller minor coordinate: bias amaj - 1 when
// the minor coordinate grows, amaj when it shrinks. Only the steps whose major
// coordinate lies inside the bitmap are visited, so a segment from millions
// of pixels away costs no more than one across the screen.
namespace {

// A segment as steps along its major axis: where it starts on both axes,
// how far it goes, the directions, and the bitmap's extent on each axis.
struct SegmentSteps {
    bool xMajor = true;
    int64_t amaj = 0, amin = 0;  // |moves| along the major and minor axes
    int64_t maj0 = 0, min0 = 0;  // the first point's coordinates on them
    int smaj = 1, smin = 1;      // their directions
    int64_t majLimit = 0, minLimit = 0;
    int run = 1;                 // pixels lit across the line at each step
    int64_t bias = 0;            // of the rounding rule above
    int64_t minLo = 0, minHi = 0;  // where a step's run still touches the bitmap
};

SegmentSteps StepsOf(const DrawContext& dc, Point a, Point b, int run) {
    SegmentSteps g;
    const int64_t dx = static_cast<int64_t>(b.x) - a.x;
    const int64_t dy = static_cast<int64_t>(b.y) - a.y;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    g.xMajor = adx >= ady;
    g.amaj = g.xMajor ? adx : ady;
    g.amin = g.xMajor ? ady : adx;
    g.maj0 = g.xMajor ? a.x : a.y;
    g.min0 = g.xMajor ? a.y : a.x;
    g.smaj = g.xMajor ? sx : sy;
    g.smin = g.xMajor ? sy : sx;
    g.majLimit = g.xMajor ? dc.width : dc.height;
    g.minLimit = g.xMajor ? dc.height : dc.width;
    g.run = run;
    g.bias = g.smin > 0 ? g.amaj - 1 : g.amaj;
    g.minLo = -(static_cast<int64_t>(run) - 1);
    g.minHi = g.minLimit - 1;
    return g;
}

// The steps [first, end) that touch the bitmap: those whose major
// coordinate is inside it, narrowed to those whose run across the line
// reaches inside too. Empty (first >= end) when none does.
void VisibleSteps(const SegmentSteps& g, int64_t& iFirst, int64_t& iEnd) {
    if (g.smaj > 0) {
        iFirst = std::max<int64_t>(0, -g.maj0);
        iEnd = std::min<int64_t>(g.amaj, g.majLimit - g.maj0);
    } else {
        iFirst = std::max<int64_t>(0, g.maj0 - (g.majLimit - 1));
        iEnd = std::min<int64_t>(g.amaj, g.maj0 + 1);
    }
    // The minor coordinate must lie in [minLo, minHi], so the offset in
    // [offLo, offHi], and it never decreases with i.
    const int64_t offLo = g.smin > 0 ? g.minLo - g.min0 : g.min0 - g.minHi;
    const int64_t offHi = g.smin > 0 ? g.minHi - g.min0 : g.min0 - g.minLo;
    if (offHi < 0 || offLo > offHi) {
        iEnd = iFirst;
        return;
    }
    if (g.amin == 0) {
        if (offLo > 0) iEnd = iFirst;
        return;
    }
    const __int128 twoMin = static_cast<__int128>(2) * g.amin;
    if (offLo > 0) {
        // smallest i with 2 i amin + bias >= 2 amaj offLo
        const __int128 need = static_cast<__int128>(2) * g.amaj * offLo - g.bias;
        const __int128 first = (need + twoMin - 1) / twoMin;
        if (first > iFirst) iFirst = first > g.amaj ? g.amaj : static_cast<int64_t>(first);
    }
    // largest i with 2 i amin + bias < 2 amaj (offHi + 1)
    const __int128 limit = static_cast<__int128>(2) * g.amaj * (static_cast<__int128>(offHi) + 1) - g.bias;
    const __int128 end = (limit + twoMin - 1) / twoMin;  // first i past the range
    if (end < iEnd) iEnd = end < 0 ? 0 : static_cast<int64_t>(end);
}

// Whether a step's minor coordinate has left the bitmap for good.
bool PastTheBitmap(const SegmentSteps& g, int64_t mn) {
    return (g.smin > 0 && mn > g.minHi) || (g.smin < 0 && mn < g.minLo);
}

// A line nearer the horizontal: the steps on one row make a horizontal
// run, filled as a span on each of the `run` rows it covers. `off` and
// `rem` are the rounding rule's quotient and remainder at step iFirst.
void FillRowRuns(const DrawContext& dc, const SegmentSteps& g, int64_t iFirst, int64_t iEnd, int64_t off,
                 int64_t rem, uint32_t pixel) {
    const int64_t den = 2 * g.amaj;
    const int64_t step = 2 * g.amin;
    for (int64_t i = iFirst; i < iEnd;) {
        const int64_t mn = g.min0 + g.smin * off;
        int64_t j = i + 1;
        rem += step;
        while (rem < den && j < iEnd) {
            rem += step;
            ++j;
        }
        if (mn >= g.minLo && mn <= g.minHi) {
            const int64_t a0 = g.maj0 + g.smaj * i, a1 = g.maj0 + g.smaj * (j - 1);
            const int64_t x0 = std::min(a0, a1), x1 = std::max(a0, a1) + 1;
            const int64_t last = std::min<int64_t>(mn + g.run, g.minLimit);
            for (int64_t m = std::max<int64_t>(mn, 0); m < last; ++m) FillRowSpan(dc, m, x0, x1, pixel);
        } else if (PastTheBitmap(g, mn)) {
            break;
        }
        if (rem >= den) {
            rem -= den;
            ++off;
        }
        i = j;
    }
}

// A line nearer the vertical: one row a step, `run` pixels from the
// line's own column rightward.
void FillColumnSteps(const DrawContext& dc, const SegmentSteps& g, int64_t iFirst, int64_t iEnd, int64_t off,
                     int64_t rem, uint32_t pixel) {
    const int64_t den = 2 * g.amaj;
    const int64_t step = 2 * g.amin;
    int64_t row = (g.maj0 + g.smaj * iFirst) * dc.width;  // index of the step's row
    const int64_t rowStep = g.smaj * static_cast<int64_t>(dc.width);
    int64_t mn = g.min0 + g.smin * off;
    for (int64_t i = iFirst; i < iEnd; ++i) {
        if (mn >= g.minLo && mn <= g.minHi) {
            if (g.run == 1) {
                dc.pixels[row + mn] = pixel;
            } else {
                const int64_t x0 = std::max<int64_t>(mn, 0), x1 = std::min<int64_t>(mn + g.run, g.minLimit);
                FillWords(dc.pixels + row + x0, static_cast<size_t>(x1 - x0), pixel);
            }
        } else if (PastTheBitmap(g, mn)) {
            break;
        }
        row += rowStep;
        rem += step;
        if (rem >= den) {
            rem -= den;
            mn += g.smin;
        }
    }
}

}  // namespace

void ThinSegment(const DrawContext& dc, Point a, Point b, uint32_t pixel, int run) {
    if (dc.pixels == nullptr) return;
    const SegmentSteps g = StepsOf(dc, a, b, std::max(run, 1));
    if (g.amaj == 0) return;
    int64_t iFirst = 0, iEnd = 0;
    VisibleSteps(g, iFirst, iEnd);
    if (iFirst >= iEnd) return;
    // The rounding rule at the first visible step.
    const int64_t den = 2 * g.amaj;
    const __int128 num = static_cast<__int128>(2) * iFirst * g.amin + g.bias;
    const int64_t off = FloorDiv(num, den);
    const int64_t rem = static_cast<int64_t>(num - static_cast<__int128>(off) * den);
    if (g.xMajor) FillRowRuns(dc, g, iFirst, iEnd, off, rem, pixel);
    else FillColumnSteps(dc, g, iFirst, iEnd, off, rem, pixel);
}

// The pixels whose centres lie within width / 2 of the segment between the
// centres of a and b. Centres on the boundary count on the top and left
// side only (the shape is tested a sixty-fourth of a pixel up and left), so
// a horizontal line of even width w covers w rows.
void WideSegment(const DrawContext& dc, Point a, Point b, int width, uint32_t pixel, double centre) {
    if (dc.pixels == nullptr || width <= 0) return;
    const double bias = 1.0 / 64.0;
    const double ax = a.x + centre - bias, ay = a.y + centre - bias;
    const double bx = b.x + centre - bias, by = b.y + centre - bias;
    const double r = width * 0.5;
    const double r2 = r * r;
    const double len = std::hypot(bx - ax, by - ay);
    const double ux = len > 0 ? (bx - ax) / len : 0.0;
    const double uy = len > 0 ? (by - ay) / len : 0.0;

    const double top = std::min(ay, by) - r;
    const double bottom = std::max(ay, by) + r;
    int64_t yFirst = static_cast<int64_t>(std::max(std::floor(top - 0.5), -1.0));
    int64_t yLast = static_cast<int64_t>(std::min(std::ceil(bottom), static_cast<double>(dc.height)));
    yFirst = std::max<int64_t>(yFirst, 0);
    yLast = std::min<int64_t>(yLast, dc.height - 1);
    for (int64_t y = yFirst; y <= yLast; ++y) {
        const double yc = y + 0.5;
        double lo = INFINITY, hi = -INFINITY;
        // Round ends.
        for (int end = 0; end < 2; ++end) {
            const double px = end ? bx : ax;
            const double py = end ? by : ay;
            const double d = yc - py;
            if (d * d < r2) {
                const double half = std::sqrt(r2 - d * d);
                lo = std::min(lo, px - half);
                hi = std::max(hi, px + half);
            }
        }
        // The band along the segment: 0 <= t <= len and |perp| < r, with
        // t = (x - ax) ux + (yc - ay) uy and perp = -(x - ax) uy + (yc - ay) ux.
        if (len > 0) {
            double bandLo = -INFINITY, bandHi = INFINITY;
            const double ty = (yc - ay) * uy;
            const double py = (yc - ay) * ux;
            bool empty = false;
            // t constraint.
            if (ux != 0) {
                double t1 = ax + (0 - ty) / ux;
                double t2 = ax + (len - ty) / ux;
                bandLo = std::max(bandLo, std::min(t1, t2));
                bandHi = std::min(bandHi, std::max(t1, t2));
            } else if (ty < 0 || ty > len) {
                empty = true;
            }
            // perp constraint: -r < py - (x - ax) uy < r.
            if (uy != 0) {
                double p1 = ax + (py - r) / uy;
                double p2 = ax + (py + r) / uy;
                bandLo = std::max(bandLo, std::min(p1, p2));
                bandHi = std::min(bandHi, std::max(p1, p2));
            } else if (!(py > -r && py < r)) {
                empty = true;
            }
            if (!empty && bandLo < bandHi) {
                lo = std::min(lo, bandLo);
                hi = std::max(hi, bandHi);
            }
        }
        if (!(lo < hi)) continue;
        // Pixels with centres strictly inside (lo, hi).
        lo = std::max(lo, -2.0);
        hi = std::min(hi, dc.width + 2.0);
        const int64_t x0 = static_cast<int64_t>(std::floor(lo - 0.5)) + 1;
        const int64_t x1 = static_cast<int64_t>(std::ceil(hi - 0.5));
        FillRowSpan(dc, y, x0, x1, pixel);
    }
}

void StrokeSegment(const DrawContext& dc, const Pen& pen, Point a, Point b) {
    if (pen.isNull) return;
    const uint32_t pixel = ColourToPixel(pen.colour);
    const int n = dc.scale;
    if (n <= 1) {
        if (pen.width <= 1) ThinSegment(dc, a, b, pixel);
        else WideSegment(dc, a, b, pen.width, pixel);
        return;
    }
    if (pen.width > 1) {
        WideSegment(dc, a, b, pen.width * n, pixel, n * 0.5);
        return;
    }
    // The blocks of a line drawn in the negative direction of its major
    // axis lie N - 1 pixels further along that axis than its corners.
    const int64_t dx = static_cast<int64_t>(b.x) - a.x, dy = static_cast<int64_t>(b.y) - a.y;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    if ((xMajor ? dx : dy) < 0) {
        auto along = [&](Point p) {
            const int64_t v = static_cast<int64_t>(xMajor ? p.x : p.y) + (n - 1);
            const int32_t c = static_cast<int32_t>(std::min<int64_t>(v, INT32_MAX));
            if (xMajor) p.x = c; else p.y = c;
            return p;
        };
        a = along(a);
        b = along(b);
    }
    ThinSegment(dc, a, b, pixel, n);
}

}  // namespace mervox
