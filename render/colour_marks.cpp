#include "render/colour_marks.h"

#include <algorithm>
#include <cmath>

#include "draw/gdi_calls.h"

namespace mervox {

namespace {

struct Uv {
    float u, v;
};

constexpr float kLow = 0.22f;  // the mark fills the middle of the face
constexpr float kHigh = 0.78f;
constexpr int kDiscPoints = 16;

// Each mark is up to two outlines in face coordinates, filled together
// with the alternate rule (the ring's inner square is its hole).
struct MarkShape {
    Uv pts[kDiscPoints];
    int counts[2];
    int outlines;
};

MarkShape Disc() {
    MarkShape m{};
    const float r = (kHigh - kLow) / 2;
    for (int k = 0; k < kDiscPoints; ++k) {
        const float a = 6.2831853f * static_cast<float>(k) / kDiscPoints;
        m.pts[k] = {0.5f + r * std::cos(a), 0.5f + r * std::sin(a)};
    }
    m.counts[0] = kDiscPoints;
    m.outlines = 1;
    return m;
}

MarkShape Triangle() {
    MarkShape m{};
    m.pts[0] = {0.5f, kHigh};
    m.pts[1] = {kHigh, kLow + 0.04f};
    m.pts[2] = {kLow, kLow + 0.04f};
    m.counts[0] = 3;
    m.outlines = 1;
    return m;
}

MarkShape Cross() {
    MarkShape m{};
    const float a = 0.5f - 0.08f, b = 0.5f + 0.08f;
    const Uv pts[12] = {{a, kLow}, {b, kLow},   {b, a},       {kHigh, a}, {kHigh, b}, {b, b},
                        {b, kHigh}, {a, kHigh}, {a, b},       {kLow, b},  {kLow, a},  {a, a}};
    std::copy(pts, pts + 12, m.pts);
    m.counts[0] = 12;
    m.outlines = 1;
    return m;
}

MarkShape Ring() {
    MarkShape m{};
    const float i0 = kLow + 0.16f, i1 = kHigh - 0.16f;
    const Uv pts[8] = {{kLow, kLow}, {kHigh, kLow}, {kHigh, kHigh}, {kLow, kHigh},
                       {i0, i0},     {i1, i0},      {i1, i1},       {i0, i1}};
    std::copy(pts, pts + 8, m.pts);
    m.counts[0] = 4;
    m.counts[1] = 4;
    m.outlines = 2;
    return m;
}

MarkShape Bar() {
    MarkShape m{};
    const float a = 0.5f - 0.1f, b = 0.5f + 0.1f;
    const Uv pts[4] = {{kLow - 0.02f, a}, {kHigh + 0.02f, a}, {kHigh + 0.02f, b}, {kLow - 0.02f, b}};
    std::copy(pts, pts + 4, m.pts);
    m.counts[0] = 4;
    m.outlines = 1;
    return m;
}

// The mark of each colour family: 0 blue a disc, 1 warm yellow a triangle,
// 2 pink a cross, 3 green a ring, 4 grey a bar.
MarkShape ShapeOf(int colour) {
    switch (colour) {
        case 0: return Disc();
        case 1: return Triangle();
        case 2: return Cross();
        case 3: return Ring();
        default: return Bar();
    }
}

Point Map(const Point (&c)[4], Uv p) {
    const float w0 = (1 - p.u) * (1 - p.v), w1 = p.u * (1 - p.v), w2 = p.u * p.v, w3 = (1 - p.u) * p.v;
    const float x = w0 * static_cast<float>(c[0].x) + w1 * static_cast<float>(c[1].x) +
                    w2 * static_cast<float>(c[2].x) + w3 * static_cast<float>(c[3].x);
    const float y = w0 * static_cast<float>(c[0].y) + w1 * static_cast<float>(c[1].y) +
                    w2 * static_cast<float>(c[2].y) + w3 * static_cast<float>(c[3].y);
    return Point{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
}

}  // namespace

void DrawColourMark(DrawContext& dc, const Palette& pal, int colour, const Point (&corners)[4],
                    bool onDarkening) {
    const int family = std::clamp(colour, 0, kColourFamilies - 1);
    const MarkShape shape = ShapeOf(family);
    Point pts[kDiscPoints];
    int n = 0;
    for (int k = 0; k < shape.outlines; ++k) n += shape.counts[k];
    for (int k = 0; k < n; ++k) pts[k] = Map(corners, shape.pts[k]);

    const Brush* brush = dc.brush;
    const Pen* pen = dc.pen;
    SelectBrush(dc, &pal.DarkBrushes[family]);
    SelectPen(dc, onDarkening ? &pal.FixedPens[paint::kPaleGreyPen] : &pal.FixedPens[paint::kNoPen]);
    PolyPolygon(dc, pts, shape.counts, shape.outlines);
    dc.brush = brush;
    dc.pen = pen;
}

}  // namespace mervox
