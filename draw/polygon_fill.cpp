// Even-odd polygon filling by scanlines. Pixel centres lie on the integer
// grid (as for the platform's lines and rectangles): row y is crossed by the
// edges with top <= y < bottom, and a pixel is filled from the first centre
// at or right of a left crossing up to, not including, the first centre at
// or right of the next crossing. Each edge keeps an exact integer step
// (quotient and remainder), so the crossing pixel is the one the exact
// rational intersection gives, for any 32-bit coordinates.
#include <algorithm>
#include <vector>

#include "draw/raster.h"

namespace mervox {

namespace {

struct ScanEdge {
    int64_t x0;        // x of the upper end
    int64_t rowStart;  // first row crossed (clipped)
    int64_t rowEnd;    // one past the last row crossed (clipped)
    int64_t den;       // dy
    int64_t stepQuot;  // floor(dx / den)
    int64_t stepRem;   // dx - stepQuot * den
    int64_t quot;      // ceil(n / den) for the current row
    int64_t rem;       // quot * den - n, in [0, den)
};

int64_t FloorDiv128(__int128 n, __int128 d) {
    __int128 q = n / d;
    if ((n % d != 0) && ((n < 0) != (d < 0))) --q;
    return static_cast<int64_t>(q);
}

// Sets up an edge from (ax, ay) to (bx, by); false when it crosses no
// visible row.
bool MakeEdge(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t height, ScanEdge& e) {
    if (ay == by) return false;
    if (ay > by) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    // Row y is crossed when ay <= y < by.
    e.rowStart = std::max<int64_t>(ay, 0);
    e.rowEnd = std::min<int64_t>(by, height);
    if (e.rowStart >= e.rowEnd) return false;
    const int64_t dx = bx - ax;
    const int64_t dy = by - ay;
    e.x0 = ax;
    e.den = dy;
    // The first pixel at or right of the crossing on row y is
    // x0 + ceil(n / den) with n = (y - ay) dx.
    const __int128 n = static_cast<__int128>(e.rowStart - ay) * dx;
    const int64_t fl = FloorDiv128(n, e.den);
    if (static_cast<__int128>(fl) * e.den == n) {
        e.quot = fl;
        e.rem = 0;
    } else {
        e.quot = fl + 1;
        e.rem = static_cast<int64_t>(static_cast<__int128>(e.quot) * e.den - n);
    }
    e.stepQuot = FloorDiv128(dx, e.den);
    e.stepRem = dx - e.stepQuot * e.den;
    return true;
}

inline void StepEdge(ScanEdge& e) {
    const int64_t diff = e.stepRem - e.rem;
    if (diff > 0) {
        e.quot += e.stepQuot + 1;
        e.rem = e.den - diff;
    } else {
        e.quot += e.stepQuot;
        e.rem = -diff;
    }
}

// Calls put(y, x0, x1) for each run of pixels the polygons fill, rows from
// the top, left to right within a row, clipped to the bitmap.
template <typename Put>
void ScanPolygonsEvenOdd(const DrawContext& dc, const Point* pts, const int* counts, int polygons, Put&& put) {
    if (dc.pixels == nullptr || dc.width <= 0 || dc.height <= 0 || polygons <= 0) return;
    thread_local std::vector<ScanEdge> edges;
    edges.clear();
    int base = 0;
    for (int k = 0; k < polygons; ++k) {
        const int n = counts[k];
        if (n < 2) {
            base += n > 0 ? n : 0;
            continue;
        }
        for (int v = 0; v < n; ++v) {
            const Point a = pts[base + v];
            const Point b = pts[base + (v + 1) % n];
            ScanEdge e;
            if (MakeEdge(a.x, a.y, b.x, b.y, dc.height, e)) edges.push_back(e);
        }
        base += n;
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const ScanEdge& l, const ScanEdge& r) { return l.rowStart < r.rowStart; });

    // The active edges are kept sorted by their crossing of the current
    // row; from row to row that order rarely changes, so the insertion sort
    // that restores it costs little.
    thread_local std::vector<ScanEdge> active;
    active.clear();
    size_t next = 0;
    int64_t y = edges.front().rowStart;
    const int64_t width = dc.width;
    while (next < edges.size() || !active.empty()) {
        if (active.empty()) y = std::max(y, edges[next].rowStart);
        while (next < edges.size() && edges[next].rowStart <= y) active.push_back(edges[next++]);
        for (size_t k = 1; k < active.size(); ++k) {
            const int64_t v = active[k].x0 + active[k].quot;
            if (active[k - 1].x0 + active[k - 1].quot <= v) continue;
            const ScanEdge e = active[k];
            size_t m = k;
            while (m > 0 && active[m - 1].x0 + active[m - 1].quot > v) {
                active[m] = active[m - 1];
                --m;
            }
            active[m] = e;
        }
        for (size_t k = 0; k + 1 < active.size(); k += 2) {
            const int64_t x0 = std::max<int64_t>(active[k].x0 + active[k].quot, 0);
            const int64_t x1 = std::min<int64_t>(active[k + 1].x0 + active[k + 1].quot, width);
            if (x0 < x1) put(y, x0, x1);
        }
        // Step on; edges that end with this row leave.
        size_t kept = 0;
        for (size_t k = 0; k < active.size(); ++k) {
            if (active[k].rowEnd <= y + 1) continue;
            StepEdge(active[k]);
            if (kept != k) active[kept] = active[k];
            ++kept;
        }
        active.erase(active.begin() + static_cast<std::ptrdiff_t>(kept), active.end());
        ++y;
    }
}

}  // namespace

void FillPolygonsEvenOdd(const DrawContext& dc, const Point* pts, const int* counts, int polygons,
                         uint32_t pixel) {
    uint32_t* const pixels = dc.pixels;
    const int64_t width = dc.width;
    ScanPolygonsEvenOdd(dc, pts, counts, polygons, [&](int64_t y, int64_t x0, int64_t x1) {
        FillWords(pixels + y * width + x0, static_cast<size_t>(x1 - x0), pixel);
    });
}

void FillRectUnderPolygons(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t back,
                           const Point* pts, const int* counts, int polygons, uint32_t fill) {
    if (dc.pixels == nullptr) return;
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, dc.height);
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, dc.width);
    if (x0 >= x1) y1 = y0;  // no rectangle
    // The rectangle is done up to column `from` of row `row`.
    int64_t row = y0, from = x0;
    auto backTo = [&](int64_t y, int64_t x) {
        for (; row < y && row < y1; ++row, from = x0) {
            if (from < x1) FillRowSpan(dc, row, from, x1, back);
        }
        if (row == y && row < y1) {
            const int64_t end = std::min(x, x1);
            if (from < end) FillRowSpan(dc, row, from, end, back);
            from = std::max(from, x);
        }
    };
    ScanPolygonsEvenOdd(dc, pts, counts, polygons, [&](int64_t y, int64_t a, int64_t b) {
        backTo(y, a);
        FillWords(dc.pixels + y * dc.width + a, static_cast<size_t>(b - a), fill);
        if (row == y) from = std::max(from, b);
    });
    backTo(y1, x0);
}

void FillPixelRect(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                   uint32_t pixel) {
    if (dc.pixels == nullptr) return;
    if (y0 < 0) y0 = 0;
    if (y1 > dc.height) y1 = dc.height;
    for (int64_t y = y0; y < y1; ++y) FillRowSpan(dc, y, x0, x1, pixel);
}

}  // namespace mervox
