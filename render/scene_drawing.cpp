// DrawScene: the background, floor, grids and rings, then the blocks and
// player in painter's order, the bursts and the overlay.
#include "render/scene_drawing.h"

#include <algorithm>
#include <cmath>

#include "draw/gdi_calls.h"
#include "game/state/board.h"
#include "render/scene_painter.h"
#include "render/screen_layout.h"

namespace mervox {

namespace {

int GreyIndex(int index) { return std::clamp(index, 0, kGreyShades - 1); }

// Projections of the 8 x 8 grid records for one camera, made on first use:
// the grids' corners are shared by neighbouring cells and tested again by
// later steps, and the projection is by far the dearest part of a corner.
struct GridProjections {
    const Vertex (*grid)[8];
    ProjectionView view;
    Camera cam;
    bool made[8][8] = {};
    ScreenPoint points[8][8];

    GridProjections(const Vertex (*g)[8], const ProjectionView& v, const Camera& c) : grid(g), view(v), cam(c) {}
    ScreenPoint at(int a, int b) {
        if (!made[a][b]) {
            points[a][b] = ProjectPoint(view, cam, grid[a][b]);
            made[a][b] = true;
        }
        return points[a][b];
    }
};

// The grid record whose projection decides whether tile or cell (a, b) is drawn.
ScreenPoint ReferenceOf(const GameState& g, GridProjections& tiles, int a, int b) {
    return g.ViewAngle >= 0 ? tiles.at(a, b + 1) : tiles.at(a + 1, b + 1);
}

// From level 25 the scene turns dark: through level 25 step by step as the
// background tiles sink, wholly from level 26 on. The grids swap their pens.
constexpr int kDarkeningLevel = 25;
bool Darkened(const GameState& g) { return g.Level >= kDarkeningLevel; }
// How far level 25's darkening has gone: the sinking of the background
// tiles below their rest, in steps of 30 units.
float DarkeningDepth(const GameState& g) { return (kBackgroundLevel - g.BackgroundGrid[1][0].y) / 30; }

// Lowers a floor brush index for the darkening levels.
int FloorLevelShift(const GameState& g) {
    if (g.Level == kDarkeningLevel) return TruncToInt(10 - DarkeningDepth(g));
    return g.Level > kDarkeningLevel ? 10 : 0;
}

// Tiles at the same height share their corners: each corner point is
// projected once and reused only for exactly the same world point.
struct TileCorners {
    bool made[8][8] = {};
    float x[8][8], y[8][8], z[8][8];
    ScreenPoint p[8][8];
    ScreenPoint at(const ScenePainter& sp, int a, int b, float px, float py, float pz) {
        if (made[a][b] && x[a][b] == px && y[a][b] == py && z[a][b] == pz) return p[a][b];
        made[a][b] = true;
        x[a][b] = px;
        y[a][b] = py;
        z[a][b] = pz;
        p[a][b] = sp.Project(px, py, pz);
        return p[a][b];
    }
};

// A floor tile's grey: kTileGreyAtDepth for a tile this far down, a shade
// lighter for every kTileGreyStep units higher.
constexpr float kTileGreyDepth = -300.0f;
constexpr float kTileGreyStep = 50.0f;
constexpr int kTileGreyAtDepth = 20;

// The whole-frame background, then the large floor tiles: those moving
// (pass 0), then those at rest (pass 1), each pass one PolyPolygon.
void DrawBackgroundAndFloor(ScenePainter& sp) {
    const GameState& g = sp.g;
    GridProjections refs(g.BackgroundGrid, sp.view, sp.cam);
    TileCorners corners;
    constexpr int kTiles = kBoardSize * kBoardSize;
    Point pts[2][kTiles * 4];
    int counts[2][kTiles];
    int polygons[2] = {0, 0};
    int brush[2];
    for (int pass = 0; pass < 2; ++pass) {
        for (int a = 0; a < kBoardSize; ++a) {
            for (int b = 0; b < kBoardSize; ++b) {
                const Vertex& t = g.BackgroundGrid[a][b];
                const bool atRest = t.y == kBackgroundLevel;
                if ((pass == 0) == atRest) continue;
                if (ReferenceOf(g, refs, a, b).y >= sp.bottom) continue;
                Point* p = pts[pass] + polygons[pass] * 4;
                p[0] = corners.at(sp, a, b, t.x, t.y, t.z);
                p[1] = corners.at(sp, a + 1, b, t.x + kBackgroundTile, t.y, t.z);
                p[2] = corners.at(sp, a + 1, b + 1, t.x + kBackgroundTile, t.y, t.z + kBackgroundTile);
                p[3] = corners.at(sp, a, b + 1, t.x, t.y, t.z + kBackgroundTile);
                counts[pass][polygons[pass]++] = 4;
            }
        }
        const float h = pass == 0 ? g.BackgroundGrid[0][1].y : g.BackgroundGrid[0][0].y;
        brush[pass] = GreyIndex(kTileGreyAtDepth - TruncToInt((h - kTileGreyDepth) / -kTileGreyStep) - FloorLevelShift(g));
    }
    // The background goes down in one sweep with the first pass that has
    // tiles, so the pixels of those tiles are written once.
    const Brush& back = sp.pal.GreyBrushes[GreyIndex(BackgroundGreyIndex(g))];
    const int first = polygons[0] > 0 ? 0 : 1;
    sp.Pen(sp.pal.FixedPens[paint::kPaleGreyPen]);
    for (int pass = first; pass < 2; ++pass) {
        sp.Brush(sp.pal.GreyBrushes[brush[pass]]);
        if (pass == first) {
            const ScreenBox& fill = screen::kBackground;
            PolyPolygonOverRectangle(sp.dc, sp.S(fill.left), sp.S(fill.top), sp.S(fill.right), sp.S(fill.bottom), back,
                                     pts[pass], counts[pass], polygons[pass]);
        } else if (polygons[pass] > 0) {
            PolyPolygon(sp.dc, pts[pass], counts[pass], polygons[pass]);
        }
    }
}

void CellOutline(ScenePainter& sp, GridProjections& corners, int i, int j) {
    const Point a = corners.at(i, j);
    const Point b = corners.at(i + 1, j);
    const Point c = corners.at(i + 1, j + 1);
    const Point d = corners.at(i, j + 1);
    MoveToEx(sp.dc, a.x, a.y);
    LineTo(sp.dc, b.x, b.y);
    LineTo(sp.dc, c.x, c.y);
    LineTo(sp.dc, d.x, d.y);
    LineTo(sp.dc, a.x, a.y);
}

void DrawVanishRing(ScenePainter& sp, int i, int j) {
    const GameState& g = sp.g;
    const BlockSlot* slot = nullptr;
    if (g.Board[i][j][0].popupTimer != 0) {
        slot = &g.Board[i][j][0];
    } else if (g.Board[i][j][1].popupTimer != 0) {
        slot = &g.Board[i][j][1];
    }
    if (slot == nullptr) return;
    const int t = slot->popupTimer;
    const int c = slot->chainSlot >= 0 && slot->chainSlot < kChainSlotCount
                      ? g.ChainSlots[slot->chainSlot].chain
                      : 1;
    const int64_t k = std::max<int64_t>((5 - static_cast<int64_t>(c)) * 3, 2);
    const int64_t t64 = t;
    const int64_t v = (900 - t64 * t64) / k;
    const int64_t w = v - std::max<int64_t>(t64 * c, 1);
    const Vertex& c00 = g.BoardGrid[i][j];
    const Vertex& c10 = g.BoardGrid[i + 1][j];
    const Vertex& c11 = g.BoardGrid[i + 1][j + 1];
    const Vertex& c01 = g.BoardGrid[i][j + 1];
    Point pts[8];
    const int64_t spread[2] = {v, w};
    for (int q = 0; q < 2; ++q) {
        const float s = static_cast<float>(spread[q]);
        pts[q * 4 + 0] = sp.Project(c00.x - s, c00.y, c00.z - s);
        pts[q * 4 + 1] = sp.Project(c10.x + s, c10.y, c10.z - s);
        pts[q * 4 + 2] = sp.Project(c11.x + s, c11.y, c11.z + s);
        pts[q * 4 + 3] = sp.Project(c01.x - s, c01.y, c01.z + s);
    }
    const int counts[2] = {4, 4};
    sp.Brush(sp.pal.ShadeBrushes[std::clamp(slot->colour, 0, 4)][2]);
    PolyPolygon(sp.dc, pts, counts, 2);
}

void DrawGrids(ScenePainter& sp) {
    const GameState& g = sp.g;
    const float entryY = sp.cam.y;
    // The lower grid and the rings, a little below the board.
    constexpr float kLowerGridDrop = 20;
    sp.cam.y = entryY + kLowerGridDrop;
    {
        GridProjections refs(g.BackgroundGrid, sp.view, sp.cam);
        GridProjections corners(g.BoardGrid, sp.view, sp.cam);
        sp.Pen(Darkened(g) ? sp.pal.FixedPens[paint::kGreyPen] : sp.pal.FixedPens[paint::kLightGreyPen]);
        for (int i = 0; i < 7; ++i) {
            for (int j = 0; j < 7; ++j) {
                if (ReferenceOf(g, refs, i, j).y < sp.bottom) CellOutline(sp, corners, i, j);
            }
        }
        for (int i = 0; i < 7; ++i) {
            for (int j = 0; j < 7; ++j) {
                if (ReferenceOf(g, refs, i, j).y < sp.bottom) DrawVanishRing(sp, i, j);
            }
        }
    }
    // The grid at board height and the rim a little above the border.
    constexpr float kRimRise = 50;
    sp.cam.y = entryY;
    Camera rimCam = sp.cam;
    rimCam.y = entryY - kRimRise;
    GridProjections corners(g.BoardGrid, sp.view, sp.cam);
    GridProjections rim(g.BoardGrid, sp.view, rimCam);
    sp.Pen(Darkened(g) ? sp.pal.FixedPens[paint::kLightGreyPen] : sp.pal.FixedPens[paint::kGreyPen]);
    auto edge = [&](int a0, int b0, int a1, int b1) {
        const Point pa = rim.at(a0, b0);
        const Point pb = rim.at(a1, b1);
        MoveToEx(sp.dc, pa.x, pa.y);
        LineTo(sp.dc, pb.x, pb.y);
    };
    for (int i = 0; i < 7; ++i) {
        for (int j = 0; j < 7; ++j) {
            if (corners.at(i, j + 1).y >= sp.bottom) continue;
            CellOutline(sp, corners, i, j);
            if (i == 0) edge(0, j, 0, j + 1);
            if (j == 0) edge(i, 0, i + 1, 0);
            if (i == 6) edge(7, j, 7, j + 1);
            if (j == 6) edge(i, 7, i + 1, 7);
        }
    }
}

// The blocks and the player, layer by layer, far rows first, columns from
// the outside in; a block sliding into an empty cell is drawn again at that
// cell's step so that it covers what lies behind its new place.
void DrawBlocksAndPlayer(ScenePainter& sp) {
    const GameState& g = sp.g;
    sp.Pen(sp.pal.FixedPens[paint::kOutlinePen]);
    const int cz = CellIndex(g.ViewCamera.z);
    const int cx = CellIndex(g.ViewCamera.x);
    // A player off the board (which play never allows) is still drawn once.
    const int pi = std::clamp(CellIndex(g.PlayerX), 0, 6);
    const int pj = std::clamp(CellIndex(g.PlayerZ), 0, 6);
    const int pl = std::max(CellIndex(g.PlayerY), 0);
    const bool playerHigh = g.PlayerY >= 200;
    GridProjections seen(g.BoardGrid, sp.view, g.ViewCamera);
    for (int layer = 0; layer < 3; ++layer) {
        for (int m = 0; m < 7; ++m) {
            const int j = PainterRow(m, cz);
            for (int n = 0; n < 7; ++n) {
                const int i = PainterColumn(n, cx);
                if (layer < 2) {
                    const int bj = ShiftedBlockRow(g, i, j, layer);
                    const BlockSlot& b = g.Board[i][bj][layer];
                    if (b.state != Empty && seen.at(i, bj + 1).y < sp.bottom) {
                        DrawBlock(sp, i, bj, layer);
                    }
                    if (!playerHigh && pl == layer && pi == i && pj == j) DrawPlayer(sp);
                } else {
                    if (playerHigh && m == 0 && n == 0) DrawPlayer(sp);
                    if (!playerHigh && pi == i && pj == j) DrawPushArrows(sp);
                }
            }
        }
    }
}

}  // namespace

int BackgroundGreyIndex(const GameState& g) {
    if (!Darkened(g)) return static_cast<int>(25 - std::max<int64_t>(static_cast<int64_t>(g.Level) - 15, 0));
    if (g.Level == kDarkeningLevel) return std::max(1, TruncToInt(DarkeningDepth(g)));
    return 0;
}

ScenePainter::ScenePainter(const GameState& state, const RenderResources& resources, const FrameView& fb)
    : g(state),
      res(resources),
      pal(resources.palette),
      frame(fb),
      dc(MakeDrawContext(fb)),
      cam(state.DrawCamera),
      view(ViewOf(state)),
      n(fb.scale),
      bottom(kFrameHeight * fb.scale) {
    view.scale = fb.scale;
}

void DrawScene(const GameState& g, const RenderResources& res, FrameView fb, const FrameHooks& hooks) {
    hooks.pumpMessagesFor(0);
    ScenePainter sp(g, res, fb);
    DrawBackgroundAndFloor(sp);
    DrawGrids(sp);
    if (g.RunMode < RunGame) {
        FinishFrame(sp, hooks);
        return;
    }
    DrawBlocksAndPlayer(sp);
    DrawBurstOutlines(sp);
    DrawGameDisplay(sp);
    FinishFrame(sp, hooks);
}

}  // namespace mervox
