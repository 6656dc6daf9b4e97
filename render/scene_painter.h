// What the steps of one scene drawing share: the state being drawn, the
// palette and sheets, the drawing context of the frame and the local copy
// of the drawing camera (raised and lowered while the grids are drawn).
#pragma once

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "game/state/game_state.h"
#include "render/projection.h"
#include "render/render_resources.h"

namespace mervox {

struct ScenePainter {
    const GameState& g;
    const RenderResources& res;
    const Palette& pal;
    FrameView frame;
    DrawContext dc;
    Camera cam;
    ProjectionView view;
    int n;       // drawing scale: pixels of the frame per pixel of the original picture
    int bottom;  // the first row below the picture (480 at scale 1)

    ScenePainter(const GameState& state, const RenderResources& resources, const FrameView& fb);

    // A position of the original picture in the frame's pixels.
    int32_t S(int32_t v) const { return v * n; }
    const SpriteSheet& Sheet(SheetId id) const { return SheetOf(res, id, n); }

    ScreenPoint Project(float x, float y, float z) const { return ProjectPoint(view, cam, x, y, z); }
    ScreenPoint Project(const Vertex& v) const { return ProjectPoint(view, cam, v.x, v.y, v.z); }
    void Brush(const mervox::Brush& b) { SelectBrush(dc, &b); }
    void Pen(const mervox::Pen& p) { SelectPen(dc, &p); }
};

// Block rules the drawing follows, exposed for checking.
// Shade offset of a block from its vanishTimer (0..5).
int BlockShadeOffset(int vanishTimer);
// Height of announced square n (1 or 3) of an arriving block in `layer`.
float ArrivalSquareHeight(const BlockSlot& b, int layer, int n);
// The box of a drawn block whose cell corner (with offsets) is (x0, z0):
// a fading block shrinks about its centre; heights below 0 become 0.
struct BlockBox {
    float xl, xh, yb, yt, zl, zh;
};
BlockBox BlockBoxOf(const BlockSlot& b, float x0, float z0);
// Side faces of block (i, j, layer) seen from `cam`.
enum SideFace : unsigned { FaceMinusX = 1, FacePlusX = 2, FaceMinusZ = 4, FacePlusZ = 8 };
unsigned VisibleSideFaces(const GameState& g, const Camera& cam, int i, int j, int layer);
// The row whose block is drawn at the step of cell (i, j, layer): j itself,
// or the neighbour row of a block sliding into this empty cell.
int ShiftedBlockRow(const GameState& g, int i, int j, int layer);

// A block slot drawn at the place of board cell (i, j), layer 0 or 1.
void DrawBlock(ScenePainter& sp, int i, int j, int layer);

// The player's feet, body and head.
void DrawPlayer(ScenePainter& sp);

// The push arrows (and, below level 5, their labels) around the player.
void DrawPushArrows(ScenePainter& sp);

// Wire boxes around the blocks that have just joined a chain.
void DrawBurstOutlines(ScenePainter& sp);

// The colour family of the player: the most common block colour, the
// lowest family winning ties.
int PlayerColourFamily(const GameState& g);

// The round's flat overlay: board map, labels, figures, banners, pop-ups.
void DrawGameDisplay(ScenePainter& sp);

// Tutorial caption band, fade squares and, in a round, the frame copy.
void FinishFrame(ScenePainter& sp, const FrameHooks& hooks);

}  // namespace mervox
