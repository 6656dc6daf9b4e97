// Even-odd polygon filling by scanlines. Pixel centres lie on the integer
// grid (as for the platform's lines and rectangles): row y is crossed by the
// edges with top <= y < bottom, and a pixel is filled from the first centre
// at or right of a left crossing up to, not including, the first centre at
// or right of the next crossing. Each edge keeps an exact integer step
// (quotient and remainder), so the crossing pixel is the one the exact
// rational intersection gives, for any 32-bit coordinates.
#include <algorithm>
#include <cwchar>
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

// Word fills go through the C library's wide-character fill, which is
// vectorised; a wchar_t is one 32-bit word here.
static_assert(sizeof(wchar_t) == sizeof(uint32_t));
inline void FillWords(uint32_t* p, size_t n, uint32_t v) {
    std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(v), n);
}

}  // namespace

void FillPolygonsEvenOdd(const DrawContext& dc, const Point* pts, const int* counts, int polygons,
                         uint32_t pixel) {
    if (dc.pixels == nullptr || dc.width <= 0 || dc.height <= 0 || polygons <= 0) return;
    thread_local std::vector<ScanEdge> edges;
    thread_local std::vector<int64_t> crossings;
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

    thread_local std::vector<ScanEdge> active;
    active.clear();
    size_t next = 0;
    int64_t y = edges.front().rowStart;
    while (next < edges.size() || !active.empty()) {
        if (active.empty()) y = std::max(y, edges[next].rowStart);
        while (next < edges.size() && edges[next].rowStart <= y) active.push_back(edges[next++]);
        crossings.clear();
        for (size_t k = 0; k < active.size();) {
            ScanEdge& e = active[k];
            crossings.push_back(e.x0 + e.quot);
            if (e.rowEnd <= y + 1) {
                e = active.back();  // finished after this row
                active.pop_back();
            } else {
                StepEdge(e);
                ++k;
            }
        }
        // Few crossings per row: insertion sort.
        for (size_t k = 1; k < crossings.size(); ++k) {
            const int64_t v = crossings[k];
            size_t m = k;
            while (m > 0 && crossings[m - 1] > v) {
                crossings[m] = crossings[m - 1];
                --m;
            }
            crossings[m] = v;
        }
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            FillRowSpan(dc, y, crossings[k], crossings[k + 1], pixel);
        }
        ++y;
    }
}

void FillRowSpan(const DrawContext& dc, int64_t y, int64_t x0, int64_t x1, uint32_t pixel) {
    if (y < 0 || y >= dc.height) return;
    if (x0 < 0) x0 = 0;
    if (x1 > dc.width) x1 = dc.width;
    if (x0 >= x1) return;
    FillWords(dc.pixels + y * dc.width + x0, static_cast<size_t>(x1 - x0), pixel);
}

void FillPixelRect(const DrawContext& dc, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                   uint32_t pixel) {
    if (dc.pixels == nullptr) return;
    if (y0 < 0) y0 = 0;
    if (y1 > dc.height) y1 = dc.height;
    for (int64_t y = y0; y < y1; ++y) FillRowSpan(dc, y, x0, x1, pixel);
}

}  // namespace mervox
