// Blocks: announced squares, shaded boxes with their visible faces, the
// wipe of vanishing faces and the burst outlines.
#include <algorithm>
#include <cmath>

#include "draw/gdi_calls.h"
#include "render/colour_marks.h"
#include "render/scene_painter.h"

namespace mervox {

namespace {

struct WorldPoint {
    float x, y, z;
};

void Quad(ScenePainter& sp, const WorldPoint (&w)[4], Point (&p)[4]) {
    for (int k = 0; k < 4; ++k) p[k] = sp.Project(w[k].x, w[k].y, w[k].z);
    Polygon(sp.dc, p, 4);
}

void Quad(ScenePainter& sp, const WorldPoint (&w)[4]) {
    Point p[4];
    Quad(sp, w, p);
}

float Floor0(float y) { return y < 0 ? 0.0f : y; }

// An announced block's squares stand this far inside its cell.
constexpr float kAnnouncedInset = 10;

bool HidesFaces(const BlockSlot& s) {
    return (s.state == Solid || s.state == Vanishing) && s.offsetX + s.height + s.offsetZ == 0.0f;
}

enum class Face { MinusX, PlusX, MinusZ, PlusZ, Top };

// The wipe over one face of a vanishing block: a dark square of side
// 100 f centred on the face, then one of side 100 f^3 in the face's brush.
void DrawWipe(ScenePainter& sp, Face face, float xl, float xh, float yb, float yt, float zl, float zh,
              int colour, const Brush& faceBrush, int vanishTimer) {
    const float f = 1 - vanishTimer / 180.0f;
    const float sides[2] = {kCellSize * f, kCellSize * f * f * f};
    const float cx = (xl + xh) / 2, cy = (yb + yt) / 2, cz = (zl + zh) / 2;
    sp.Pen(sp.pal.FixedPens[paint::kNoPen]);
    for (int k = 0; k < 2; ++k) {
        const float h = sides[k] / 2;
        sp.Brush(k == 0 ? sp.pal.DarkBrushes[colour] : faceBrush);
        switch (face) {
            case Face::MinusX:
            case Face::PlusX: {
                const float x = face == Face::MinusX ? xl : xh;
                Quad(sp, {{x, Floor0(cy - h), cz - h}, {x, Floor0(cy - h), cz + h},
                          {x, Floor0(cy + h), cz + h}, {x, Floor0(cy + h), cz - h}});
                break;
            }
            case Face::MinusZ:
            case Face::PlusZ: {
                const float z = face == Face::MinusZ ? zl : zh;
                Quad(sp, {{cx - h, Floor0(cy - h), z}, {cx + h, Floor0(cy - h), z},
                          {cx + h, Floor0(cy + h), z}, {cx - h, Floor0(cy + h), z}});
                break;
            }
            case Face::Top:
                Quad(sp, {{cx - h, yt, cz - h}, {cx + h, yt, cz - h}, {cx + h, yt, cz + h},
                          {cx - h, yt, cz + h}});
                break;
        }
    }
    sp.Pen(sp.pal.FixedPens[paint::kOutlinePen]);
}

}  // namespace

int BlockShadeOffset(int t) {
    int s = t > 120 ? (t - 120) / 12 : (t / 20) % 2;
    if (s + 4 > 9) s = 5;
    return s < 0 ? 0 : s;
}

float ArrivalSquareHeight(const BlockSlot& b, int layer, int n) {
    const float base = std::max(b.height + kBlockHeight, 0.0f) + kBlockHeight * layer;
    return base + n * 50 * (b.arriveTimer / 120.0f);
}

BlockBox BlockBoxOf(const BlockSlot& b, float x0, float z0) {
    const float e = b.state == Fading ? (1 - b.vanishTimer / 10.0f) * kCellSize : 0.0f;
    return BlockBox{x0 + e / 2,           x0 + kCellSize - e / 2, Floor0(b.height + e / 2),
                    Floor0(b.height + kBlockHeight - e / 2), z0 + e / 2, z0 + kCellSize - e / 2};
}

unsigned VisibleSideFaces(const GameState& g, const Camera& cam, int i, int j, int layer) {
    const BlockSlot& b = g.Board[i][j][layer];
    const Vertex& next = g.BoardGrid[i + 1][j + 1];
    const float x0 = g.BoardGrid[i][j].x + b.offsetX;
    const float z0 = g.BoardGrid[i][j].z + b.offsetZ;
    bool minusZ = cam.z <= z0;
    bool plusZ = cam.z >= next.z + b.offsetZ;
    bool minusX = cam.x <= x0;
    bool plusX = cam.x >= next.x + b.offsetX;
    // Resting floor blocks hide each other's touching faces.
    if (b.offsetX + b.height + b.offsetZ == 0.0f) {
        if (j > 0 && HidesFaces(g.Board[i][j - 1][layer])) minusZ = false;
        if (j < 6 && HidesFaces(g.Board[i][j + 1][layer])) plusZ = false;
        if (i > 0 && HidesFaces(g.Board[i - 1][j][layer])) minusX = false;
        if (i < 6 && HidesFaces(g.Board[i + 1][j][layer])) plusX = false;
    }
    return (minusX ? FaceMinusX : 0u) | (plusX ? FacePlusX : 0u) | (minusZ ? FaceMinusZ : 0u) |
           (plusZ ? FacePlusZ : 0u);
}

int ShiftedBlockRow(const GameState& g, int i, int j, int layer) {
    if (g.Board[i][j][layer].state != Empty) return j;
    const int below = std::max(j - 1, 0);
    const int above = std::min(j + 1, 6);
    if (j > 0 && g.Board[i][below][layer].offsetZ > 0) return j - 1;
    if (j < 6 && g.Board[i][above][layer].offsetZ < 0) return j + 1;
    return j;
}

namespace {

// An announced block: two flat squares that sink onto the block's place.
void DrawAnnouncedBlock(ScenePainter& sp, const BlockSlot& b, int layer, float x0, float z0, int colour) {
    const auto& shades = sp.pal.ShadeBrushes[colour];
    for (int n = 1; n <= 3; n += 2) {
        const float h = ArrivalSquareHeight(b, layer, n);
        const int q = std::clamp((TruncToInt(h) % 100) / 8, 0, 9);
        sp.Pen(sp.pal.FixedPens[paint::kGreyPen]);
        sp.Brush(shades[q]);
        Point square[4];
        constexpr float kNear = kAnnouncedInset, kFar = kCellSize - kAnnouncedInset;
        Quad(sp, {{x0 + kNear, h, z0 + kNear}, {x0 + kFar, h, z0 + kNear}, {x0 + kFar, h, z0 + kFar},
                  {x0 + kNear, h, z0 + kFar}}, square);
        if (sp.res.colourMarks) DrawColourMark(sp.dc, sp.pal, colour, square);
        sp.Pen(sp.pal.FixedPens[paint::kOutlinePen]);
    }
}

// A block's visible faces (a side facing x, a side facing z, the top), each
// with its wipe while the block vanishes and its colour mark.
void DrawBlockFaces(ScenePainter& sp, int i, int j, int layer, float x0, float z0, int colour) {
    const GameState& g = sp.g;
    const BlockSlot& b = g.Board[i][j][layer];
    const int t = b.vanishTimer;
    const int s = BlockShadeOffset(t);
    const auto& shades = sp.pal.ShadeBrushes[colour];
    const BlockBox box = BlockBoxOf(b, x0, z0);
    const float xl = box.xl, xh = box.xh, yb = box.yb, yt = box.yt, zl = box.zl, zh = box.zh;
    const unsigned faces = VisibleSideFaces(g, sp.cam, i, j, layer);
    const bool minusX = faces & FaceMinusX, plusX = faces & FacePlusX;
    const bool minusZ = faces & FaceMinusZ, plusZ = faces & FacePlusZ;
    const bool vanishing = b.state == Vanishing;

    // The box's eight corners, each projected once: corner (x, y, z) with
    // 0 for the low and 1 for the high side of each axis.
    Point corners[8];
    bool made[8] = {};
    auto corner = [&](int x, int y, int z) {
        const int k = x * 4 + y * 2 + z;
        if (!made[k]) {
            corners[k] = sp.Project(x ? xh : xl, y ? yt : yb, z ? zh : zl);
            made[k] = true;
        }
        return corners[k];
    };
    Point drawn[4];  // the corners of the face drawn last
    auto face = [&](Point a, Point b2, Point c, Point d) {
        drawn[0] = a;
        drawn[1] = b2;
        drawn[2] = c;
        drawn[3] = d;
        Polygon(sp.dc, drawn, 4);
    };
    auto mark = [&] {
        if (sp.res.colourMarks) DrawColourMark(sp.dc, sp.pal, colour, drawn, vanishing);
    };

    if (minusX || plusX) {
        const int x = minusX ? 0 : 1;
        const Brush& brush = shades[s + (minusX ? 3 : 1)];
        sp.Brush(brush);
        face(corner(x, 0, 0), corner(x, 0, 1), corner(x, 1, 1), corner(x, 1, 0));
        if (vanishing) {
            DrawWipe(sp, minusX ? Face::MinusX : Face::PlusX, xl, xh, yb, yt, zl, zh, colour, brush, t);
        }
        mark();
    }
    if (minusZ || plusZ) {
        const int z = minusZ ? 0 : 1;
        const Brush& brush = shades[s + (minusZ ? 2 : 0)];
        sp.Brush(brush);
        face(corner(0, 0, z), corner(1, 0, z), corner(1, 1, z), corner(0, 1, z));
        if (vanishing) {
            DrawWipe(sp, minusZ ? Face::MinusZ : Face::PlusZ, xl, xh, yb, yt, zl, zh, colour, brush, t);
        }
        mark();
    }
    const Brush& top = shades[s + 4];
    sp.Brush(top);
    face(corner(0, 1, 0), corner(1, 1, 0), corner(1, 1, 1), corner(0, 1, 1));
    if (vanishing) DrawWipe(sp, Face::Top, xl, xh, yb, yt, zl, zh, colour, top, t);
    mark();
}

}  // namespace

void DrawBlock(ScenePainter& sp, int i, int j, int layer) {
    const GameState& g = sp.g;
    const BlockSlot& b = g.Board[i][j][layer];
    const float x0 = g.BoardGrid[i][j].x + b.offsetX;
    const float z0 = g.BoardGrid[i][j].z + b.offsetZ;
    const int colour = std::clamp(b.colour, 0, 4);
    if (b.arriveTimer != 0) DrawAnnouncedBlock(sp, b, layer, x0, z0, colour);
    else DrawBlockFaces(sp, i, j, layer, x0, z0, colour);
}

void DrawBurstOutlines(ScenePainter& sp) {
    const GameState& g = sp.g;
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            for (int layer = 0; layer < 2; ++layer) {
                const BlockSlot& b = g.Board[i][j][layer];
                if (b.state != Vanishing || b.popupSize <= 0) continue;
                const int colour = std::clamp(b.colour, 0, 4);
                sp.Pen(sp.pal.ShadePens[colour][std::min(b.popupSize / 3, 9)]);
                SelectBrush(sp.dc, StockNullBrush());
                const float r = static_cast<float>(b.popupSize) * static_cast<float>(b.popupSize) / 10;
                const float x0 = g.BoardGrid[i][j].x + b.offsetX;
                const float z0 = g.BoardGrid[i][j].z + b.offsetZ;
                const float xs[4] = {x0 - r, x0 + kCellSize + r, x0 + kCellSize + r, x0 - r};
                const float zs[4] = {z0 - r, z0 - r, z0 + kCellSize + r, z0 + kCellSize + r};
                Point upper[4], lower[4], joins[8];
                for (int k = 0; k < 4; ++k) {
                    upper[k] = sp.Project(xs[k], b.height + kBlockHeight + r, zs[k]);
                    lower[k] = sp.Project(xs[k], b.height - r, zs[k]);
                    joins[2 * k] = upper[k];
                    joins[2 * k + 1] = lower[k];
                }
                Polygon(sp.dc, upper, 4);
                Polygon(sp.dc, lower, 4);
                const int counts[4] = {2, 2, 2, 2};
                PolyPolyline(sp.dc, joins, counts, 4);
                sp.Pen(sp.pal.FixedPens[paint::kOutlinePen]);
            }
        }
    }
}

}  // namespace mervox
