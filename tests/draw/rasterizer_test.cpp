// Pixel rules of the drawing layer, checked at the pixels the rules decide.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/gdi_calls.h"
#include "draw/raster.h"

namespace mervox {
namespace {

constexpr uint32_t kRed = 0x0000FF;    // COLORREF red
constexpr uint32_t kBlue = 0xFF0000;   // COLORREF blue
constexpr uint32_t kRedPixel = 0x00FF0000;
constexpr uint32_t kBluePixel = 0x000000FF;

struct Canvas {
    int w, h;
    std::vector<uint32_t> px;
    DrawContext dc;
    Brush brush = MakeSolidBrush(kRed);
    Pen pen = MakeSolidPen(1, kBlue);
    Pen nullPen = MakeNullPen();
    Canvas(int width = 64, int height = 48) : w(width), h(height), px(width * height, 0) {
        dc = MakeDrawContext(px.data(), w, h);
    }
    uint32_t at(int x, int y) const { return px[y * w + x]; }
    int count(uint32_t v) const {
        int n = 0;
        for (uint32_t p : px) n += p == v;
        return n;
    }
    void fillOnly() {
        SelectBrush(dc, &brush);
        SelectPen(dc, &nullPen);
    }
    void penOnly(int width = 1) {
        pen = MakeSolidPen(width, kBlue);
        SelectPen(dc, &pen);
        SelectBrush(dc, StockNullBrush());
    }
};

TEST(PolygonFill, SquareCoversPixelsWhoseCentresAreInsideRightAndBottomExcluded) {
    Canvas c;
    c.fillOnly();
    const Point sq[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    Polygon(c.dc, sq, 4);
    EXPECT_EQ(c.at(10, 10), kRedPixel);
    EXPECT_EQ(c.at(19, 19), kRedPixel);
    EXPECT_EQ(c.at(20, 15), 0u);
    EXPECT_EQ(c.at(15, 20), 0u);
    EXPECT_EQ(c.at(9, 15), 0u);
    EXPECT_EQ(c.at(15, 9), 0u);
    EXPECT_EQ(c.count(kRedPixel), 100);
}

TEST(PolygonFill, OutlineWithPenCoversTheClosingEdgesToo) {
    Canvas c;
    SelectBrush(c.dc, &c.brush);
    SelectPen(c.dc, &c.pen);
    const Point sq[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    Polygon(c.dc, sq, 4);
    // Outline pixels on all four sides, corners included (11 x 11 figure).
    EXPECT_EQ(c.at(10, 10), kBluePixel);
    EXPECT_EQ(c.at(20, 10), kBluePixel);
    EXPECT_EQ(c.at(20, 20), kBluePixel);
    EXPECT_EQ(c.at(10, 20), kBluePixel);
    EXPECT_EQ(c.at(15, 20), kBluePixel);
    EXPECT_EQ(c.at(15, 15), kRedPixel);
    EXPECT_EQ(c.count(kBluePixel), 40);
    EXPECT_EQ(c.count(kRedPixel), 81);
}

TEST(PolygonFill, SlopedEdgesUsePixelCentresOnTheIntegerGrid) {
    Canvas c;
    c.fillOnly();
    // Right triangle with the hypotenuse x = y as its left edge: on row y
    // the pixels x = y .. 19 (centre on the left edge: inside).
    const Point tri[3] = {{0, 0}, {20, 0}, {20, 20}};
    Polygon(c.dc, tri, 3);
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(c.at(y, y), kRedPixel) << y;
        if (y > 0) {
            EXPECT_EQ(c.at(y - 1, y), 0u) << y;
        }
        EXPECT_EQ(c.at(19, y), kRedPixel);
        EXPECT_EQ(c.at(20, y), 0u);
    }
    EXPECT_EQ(c.count(kRedPixel), 20 * 21 / 2);

    // A right edge of slope 1/2 from (0, 0) to (10, 5): row y is crossed at
    // x = 2y, which is outside (right edges exclude): 2y pixels per row.
    Canvas d;
    d.fillOnly();
    const Point wedge[3] = {{0, 0}, {10, 5}, {0, 5}};
    Polygon(d.dc, wedge, 3);
    EXPECT_EQ(d.at(0, 0), 0u);  // row 0: empty
    EXPECT_EQ(d.at(1, 1), kRedPixel);
    EXPECT_EQ(d.at(2, 1), 0u);
    EXPECT_EQ(d.at(7, 4), kRedPixel);
    EXPECT_EQ(d.at(8, 4), 0u);
    EXPECT_EQ(d.at(0, 5), 0u);  // the bottom edge row is outside
    EXPECT_EQ(d.count(kRedPixel), 0 + 2 + 4 + 6 + 8);
    // Two triangles sharing a diagonal cover the square once, no gaps.
    Canvas e;
    e.fillOnly();
    const Point upper[3] = {{0, 0}, {17, 0}, {17, 11}};
    const Point lower[3] = {{0, 0}, {17, 11}, {0, 11}};
    Polygon(e.dc, upper, 3);
    const int first = e.count(kRedPixel);
    e.brush = MakeSolidBrush(kBlue);
    Polygon(e.dc, lower, 3);
    EXPECT_EQ(e.count(kRedPixel), first);  // no pixel painted twice
    EXPECT_EQ(e.count(kRedPixel) + e.count(kBluePixel), 17 * 11);
}

TEST(PolygonFill, PolyPolygonAlternateFillLeavesNestedAndOverlappingPartsEmpty) {
    Canvas c;
    c.fillOnly();
    const Point pts[8] = {{0, 0}, {30, 0}, {30, 30}, {0, 30}, {10, 10}, {20, 10}, {20, 20}, {10, 20}};
    const int counts[2] = {4, 4};
    PolyPolygon(c.dc, pts, counts, 2);
    EXPECT_EQ(c.at(5, 5), kRedPixel);
    EXPECT_EQ(c.at(15, 15), 0u);  // the hole
    EXPECT_EQ(c.at(9, 15), kRedPixel);
    EXPECT_EQ(c.at(20, 15), kRedPixel);
    EXPECT_EQ(c.count(kRedPixel), 900 - 100);

    // Two overlapping squares: the shared part is crossed twice and stays empty.
    Canvas d;
    d.fillOnly();
    const Point two[8] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {10, 10}, {30, 10}, {30, 30}, {10, 30}};
    PolyPolygon(d.dc, two, counts, 2);
    EXPECT_EQ(d.at(5, 5), kRedPixel);
    EXPECT_EQ(d.at(15, 15), 0u);
    EXPECT_EQ(d.at(25, 25), kRedPixel);
}

TEST(PolygonFill, HugeCoordinatesAreClippedWithoutOverflow) {
    Canvas c;
    c.fillOnly();
    // A triangle whose corners lie billions of pixels away but whose
    // inside covers the whole bitmap.
    const Point tri[3] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
    Polygon(c.dc, tri, 3);
    EXPECT_EQ(c.count(kRedPixel), c.w * c.h);

    // A thin sliver from far away: crossing points stay exact. The edge from
    // (-1e9, 0) to (1e9, 40) passes y = 20 at x = 0 and has slope 40 / 2e9.
    Canvas d;
    d.fillOnly();
    const Point sliver[3] = {{-1000000000, 0}, {1000000000, 40}, {1000000000, 0}};
    Polygon(d.dc, sliver, 3);
    // Row 10 (centre 10.5): the edge is at x = -1e9 + 10.5 / 40 * 2e9 =
    // -475000000, left of the bitmap, so the whole row is inside.
    EXPECT_EQ(d.at(0, 10), kRedPixel);
    EXPECT_EQ(d.at(63, 10), kRedPixel);
    // Row 30 (centre 30.5): the edge is at x = 525000000, right of it all.
    EXPECT_EQ(d.at(0, 30), 0u);

    // Entirely off the bitmap: nothing drawn.
    Canvas e;
    e.fillOnly();
    const Point off[3] = {{-500, -500}, {-100, -500}, {-100, -100}};
    Polygon(e.dc, off, 3);
    EXPECT_EQ(e.count(kRedPixel), 0);
}

// The background and the floor tiles go down in one sweep: the picture
// must be that of the rectangle drawn first and the figures over it,
// for a rectangle covering the bitmap and one the figures stick out of.
TEST(PolygonFill, PolyPolygonOverRectangleIsTheRectangleThenThePolyPolygon) {
    // Abutting tiles partly off the bitmap, and overlapping sloped figures
    // (even-odd holes).
    const Point tiles[16] = {{-9, 5}, {20, 3}, {24, 30}, {-5, 33}, {20, 3}, {47, 6}, {50, 31}, {24, 30},
                             {47, 6}, {70, 9}, {71, 40}, {50, 31}, {-5, 33}, {24, 30}, {22, 60}, {-9, 55}};
    const int tileCounts[4] = {4, 4, 4, 4};
    const Point figures[11] = {{10, -4}, {40, 12}, {15, 25}, {30, 0}, {38, 44}, {5, 20},
                               {33, 18}, {60, 14}, {66, 52}, {30, 40}, {45, 30}};
    const int figureCounts[2] = {6, 5};
    const Brush back = MakeSolidBrush(0x123456);
    const Pen none = MakeNullPen();
    struct Figure {
        const Point* pts;
        const int* counts;
        int polygons;
    };
    const Figure both[2] = {{tiles, tileCounts, 4}, {figures, figureCounts, 2}};
    const int rects[2][4] = {{0, 0, 65, 49}, {12, 9, 41, 37}};
    for (const Figure& f : both) {
        for (const auto& r : rects) {
            Canvas apart, swept;
            SelectPen(apart.dc, &none);
            SelectBrush(apart.dc, &back);
            Rectangle(apart.dc, r[0], r[1], r[2], r[3]);
            SelectPen(apart.dc, &apart.pen);
            SelectBrush(apart.dc, &apart.brush);
            PolyPolygon(apart.dc, f.pts, f.counts, f.polygons);

            SelectPen(swept.dc, &swept.pen);
            SelectBrush(swept.dc, &swept.brush);
            PolyPolygonOverRectangle(swept.dc, r[0], r[1], r[2], r[3], back, f.pts, f.counts, f.polygons);
            EXPECT_EQ(swept.px, apart.px) << "rectangle from " << r[0] << ", " << r[1];
            EXPECT_GT(apart.count(ColourToPixel(0x123456)), 0);  // some background shows
            EXPECT_GT(apart.count(kRedPixel), 0);
        }
    }
}

TEST(ThinLine, IncludesTheFirstPixelAndExcludesTheLast) {
    Canvas c;
    c.penOnly();
    MoveToEx(c.dc, 5, 5);
    LineTo(c.dc, 12, 5);
    EXPECT_EQ(c.at(5, 5), kBluePixel);
    EXPECT_EQ(c.at(11, 5), kBluePixel);
    EXPECT_EQ(c.at(12, 5), 0u);
    EXPECT_EQ(c.count(kBluePixel), 7);
    EXPECT_EQ(c.dc.curX, 12);
    EXPECT_EQ(c.dc.curY, 5);

    Canvas d;
    d.penOnly();
    MoveToEx(d.dc, 20, 20);
    LineTo(d.dc, 10, 10);  // diagonal toward the origin
    EXPECT_EQ(d.at(20, 20), kBluePixel);
    EXPECT_EQ(d.at(11, 11), kBluePixel);
    EXPECT_EQ(d.at(10, 10), 0u);
    EXPECT_EQ(d.count(kBluePixel), 10);

    Canvas e;
    e.penOnly();
    MoveToEx(e.dc, 7, 7);
    LineTo(e.dc, 7, 7);  // zero length draws nothing
    EXPECT_EQ(e.count(kBluePixel), 0);
}

TEST(ThinLine, HalfwayCrossingsLightTheUpperOrLeftPixel) {
    // (0, 0) to (4, 2) passes halfway between (1, 0) and (1, 1): the upper one.
    Canvas a;
    a.penOnly();
    MoveToEx(a.dc, 0, 0);
    LineTo(a.dc, 4, 2);
    EXPECT_EQ(a.at(1, 0), kBluePixel);
    EXPECT_EQ(a.at(1, 1), 0u);
    EXPECT_EQ(a.at(3, 1), kBluePixel);  // halfway between rows 1 and 2 again
    // The same line drawn the other way picks the same upper pixels.
    Canvas b;
    b.penOnly();
    MoveToEx(b.dc, 4, 2);
    LineTo(b.dc, 0, 0);
    EXPECT_EQ(b.at(3, 1), kBluePixel);
    EXPECT_EQ(b.at(1, 0), kBluePixel);
    EXPECT_EQ(b.at(3, 2), 0u);
    // Rising to the right: (0, 2) to (4, 0) is halfway at x = 1 and x = 3.
    Canvas c;
    c.penOnly();
    MoveToEx(c.dc, 0, 2);
    LineTo(c.dc, 4, 0);
    EXPECT_EQ(c.at(1, 1), kBluePixel);
    EXPECT_EQ(c.at(1, 2), 0u);
    EXPECT_EQ(c.at(3, 0), kBluePixel);
    // Steep lines take the left pixel: (0, 0) to (2, 4) at y = 1 and 3.
    Canvas d;
    d.penOnly();
    MoveToEx(d.dc, 0, 0);
    LineTo(d.dc, 2, 4);
    EXPECT_EQ(d.at(0, 1), kBluePixel);
    EXPECT_EQ(d.at(1, 3), kBluePixel);
    Canvas e;
    e.penOnly();
    MoveToEx(e.dc, 2, 0);
    LineTo(e.dc, 0, 4);
    EXPECT_EQ(e.at(1, 1), kBluePixel);
    EXPECT_EQ(e.at(2, 1), 0u);
    EXPECT_EQ(e.at(0, 3), kBluePixel);
}

// Every drawn pixel lies within half a pixel of the ideal line on the minor
// axis, and each major-axis step inside the bitmap has exactly one pixel.
void ExpectBresenham(const Canvas& c, Point a, Point b) {
    const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const int majorSize = xMajor ? c.w : c.h;
    for (int m = 0; m < majorSize; ++m) {
        const double t = xMajor ? (m - a.x) / dx : (m - a.y) / dy;
        int hits = 0;
        for (int n = 0; n < (xMajor ? c.h : c.w); ++n) {
            const uint32_t p = xMajor ? c.at(m, n) : c.at(n, m);
            if (p != kBluePixel) continue;
            ++hits;
            const double ideal = xMajor ? a.y + t * dy : a.x + t * dx;
            EXPECT_LE(std::fabs(n - ideal), 0.5 + 1e-9) << "major " << m;
        }
        const bool onLine = t >= 0 && t < 1;
        const double minor = xMajor ? a.y + t * dy : a.x + t * dx;
        const bool minorInside = minor > 0.5 && minor < (xMajor ? c.h : c.w) - 1.5;
        if (onLine && minorInside) {
            EXPECT_EQ(hits, 1) << "major " << m;
        }
    }
}

TEST(ThinLine, ShallowAndSteepLinesStayOnTheIdealLine) {
    // Inside the bitmap, and crossing it from outside in every direction.
    const Point cases[][2] = {{{2, 3}, {50, 20}},     {{60, 40}, {3, 1}},     {{5, 2}, {17, 45}},
                              {{40, 44}, {30, 1}},    {{-100, 60}, {160, -20}}, {{90, -30}, {-40, 70}},
                              {{10, -500}, {50, 900}}, {{-7, 47}, {70, 50}}};
    for (const auto& seg : cases) {
        Canvas c;
        c.penOnly();
        MoveToEx(c.dc, seg[0].x, seg[0].y);
        LineTo(c.dc, seg[1].x, seg[1].y);
        ExpectBresenham(c, seg[0], seg[1]);
        EXPECT_GT(c.count(kBluePixel), 0);
        auto inside = [&](Point p) { return p.x >= 0 && p.y >= 0 && p.x < c.w && p.y < c.h; };
        if (inside(seg[0])) {
            EXPECT_EQ(c.at(seg[0].x, seg[0].y), kBluePixel);
        }
        if (inside(seg[1])) {
            EXPECT_NE(c.at(seg[1].x, seg[1].y), kBluePixel);
        }
    }
}

TEST(ThinLine, LinesFromMillionsOfPixelsAwayAreClippedOntoTheSamePixels) {
    // A line of slope 1/3 that starts far to the left and ends far to the
    // right: it crosses the bitmap where the ideal line does.
    const Point a{-3000000, -1000000 + 20}, b{3000000 + 1, 1000000 + 20};
    Canvas c;
    c.penOnly();
    MoveToEx(c.dc, a.x, a.y);
    LineTo(c.dc, b.x, b.y);
    ExpectBresenham(c, a, b);
    EXPECT_GT(c.count(kBluePixel), 0);

    // The extreme corners of the 32-bit range.
    Canvas d;
    d.penOnly();
    MoveToEx(d.dc, INT32_MIN, INT32_MIN);
    LineTo(d.dc, INT32_MAX, INT32_MAX);
    // Passes (0.5, 0.5)-ish: the main diagonal within half a pixel.
    for (int k = 0; k < d.h; ++k) EXPECT_EQ(d.at(k, k) | d.at(k + 1 < d.w ? k + 1 : k, k), kBluePixel);
}

TEST(WideLine, RoundPenCoversItsWidthAndRoundEnds) {
    Canvas c;
    c.penOnly(3);
    MoveToEx(c.dc, 10, 20);
    LineTo(c.dc, 30, 20);
    for (int y = 19; y <= 21; ++y) EXPECT_EQ(c.at(20, y), kBluePixel) << y;
    EXPECT_EQ(c.at(20, 18), 0u);
    EXPECT_EQ(c.at(20, 22), 0u);
    // Round ends reach one pixel past each end on the axis, not the corners
    // of a square cap two pixels out.
    EXPECT_EQ(c.at(9, 20), kBluePixel);
    EXPECT_EQ(c.at(31, 20), kBluePixel);
    EXPECT_EQ(c.at(8, 20), 0u);
    EXPECT_EQ(c.at(32, 20), 0u);

    Canvas even;
    even.penOnly(2);
    MoveToEx(even.dc, 10, 20);
    LineTo(even.dc, 30, 20);
    int rows = 0;
    for (int y = 15; y < 25; ++y) rows += even.at(20, y) == kBluePixel;
    EXPECT_EQ(rows, 2);

    // A width-5 diagonal has no gaps across it.
    Canvas d;
    d.penOnly(5);
    MoveToEx(d.dc, 5, 5);
    LineTo(d.dc, 40, 40);
    for (int k = 6; k < 40; ++k) {
        for (int off = -1; off <= 1; ++off) EXPECT_EQ(d.at(k + off, k), kBluePixel) << k << " " << off;
    }
    EXPECT_EQ(d.at(30, 20), 0u);
}

TEST(Rectangle, OutlineOnTheInsideAndRightBottomExcluded) {
    Canvas c;
    SelectBrush(c.dc, &c.brush);
    SelectPen(c.dc, &c.pen);
    Rectangle(c.dc, 10, 10, 20, 15);
    EXPECT_EQ(c.at(10, 10), kBluePixel);
    EXPECT_EQ(c.at(19, 14), kBluePixel);
    EXPECT_EQ(c.at(20, 12), 0u);
    EXPECT_EQ(c.at(15, 15), 0u);
    EXPECT_EQ(c.at(15, 12), kRedPixel);
    EXPECT_EQ(c.count(kRedPixel), 8 * 3);

    // Without a pen one more column and row go.
    Canvas d;
    d.fillOnly();
    Rectangle(d.dc, 10, 10, 20, 15);
    EXPECT_EQ(d.at(18, 13), kRedPixel);
    EXPECT_EQ(d.at(19, 12), 0u);
    EXPECT_EQ(d.at(12, 14), 0u);
    EXPECT_EQ(d.count(kRedPixel), 9 * 4);

    // The whole-frame background rectangle overshoots and is clipped.
    Canvas e;
    e.fillOnly();
    Rectangle(e.dc, 0, 0, e.w + 2, e.h + 2);
    EXPECT_EQ(e.count(kRedPixel), e.w * e.h);
    Rectangle(e.dc, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
}

TEST(Ellipse, FillsItsBoxLessOneOnTheRightAndBottom) {
    Canvas c;
    SelectBrush(c.dc, &c.brush);
    SelectPen(c.dc, &c.pen);
    Ellipse(c.dc, 10, 10, 31, 21);  // 21 x 11 box, odd sizes: exact middle row and column
    EXPECT_EQ(c.at(10, 15), kBluePixel);
    EXPECT_EQ(c.at(30, 15), kBluePixel);
    EXPECT_EQ(c.at(31, 15), 0u);
    EXPECT_EQ(c.at(20, 10), kBluePixel);
    EXPECT_EQ(c.at(20, 20), kBluePixel);
    EXPECT_EQ(c.at(20, 21), 0u);
    EXPECT_EQ(c.at(20, 15), kRedPixel);
    EXPECT_EQ(c.at(10, 10), 0u);  // box corners lie outside
    EXPECT_EQ(c.at(30, 20), 0u);

    // Corner order does not matter.
    Canvas d;
    SelectBrush(d.dc, &d.brush);
    SelectPen(d.dc, &d.pen);
    Ellipse(d.dc, 31, 21, 10, 10);
    EXPECT_EQ(d.px, c.px);

    // Far outside and huge: clipped, no crash.
    Canvas e;
    e.fillOnly();
    Ellipse(e.dc, -1000000000, -1000000000, 1000000000, 1000000000);
    EXPECT_EQ(e.count(kRedPixel), e.w * e.h);
}

TEST(PatBlt, WhitensExactlyItsSquare) {
    Canvas c;
    PatBltWhiteness(c.dc, 1, 1, 2, 2);
    EXPECT_EQ(c.at(1, 1), kWhitePixel);
    EXPECT_EQ(c.at(2, 2), kWhitePixel);
    EXPECT_EQ(c.at(3, 2), 0u);
    EXPECT_EQ(c.at(0, 0), 0u);
    EXPECT_EQ(c.count(kWhitePixel), 4);
    PatBltWhiteness(c.dc, 60, 40, 100, 100);  // clipped at the edges
    EXPECT_EQ(c.at(63, 47), kWhitePixel);
    PatBltWhiteness(c.dc, 5, 5, -3, 4);  // nothing
    EXPECT_EQ(c.at(4, 5), 0u);
}

TEST(Selection, NullObjectsChangeNothingAndNullPenDrawsNothing) {
    Canvas c;
    SelectBrush(c.dc, &c.brush);
    SelectBrush(c.dc, nullptr);
    EXPECT_EQ(c.dc.brush, &c.brush);
    c.penOnly();
    SelectPen(c.dc, &c.nullPen);
    const Point tri[3] = {{1, 1}, {30, 1}, {30, 30}};
    Polygon(c.dc, tri, 3);  // null brush and null pen
    EXPECT_EQ(c.count(0), c.w * c.h);
}

}  // namespace
}  // namespace mervox
