// One whole frame of the game drawn from the state.
#pragma once

#include "draw/draw_context.h"
#include "draw/frame_buffer.h"
#include "game/state/game_state.h"
#include "render/render_resources.h"

namespace mervox {

// Draws the frame into `fb`: background, floor tiles, grids and vanish
// rings; in a round (RunMode 1 to 5) also the blocks and player in painter's
// order, the burst outlines and the in-game display; then the tutorial band
// and fade, and in a round presents the frame through `hooks`. In RunMode 0
// it draws the title's layers and does not present. Reads the state only.
// The frame may be at any drawing scale (see FrameView); the sheets of
// that scale must have been made ready (PrepareSheetsAt).
void DrawScene(const GameState& g, const RenderResources& res, FrameView fb,
               const FrameHooks& hooks = FrameHooks{});

// The fade's white squares, drawn over the title and over a round alike:
// 48 on an 80-pixel grid from (1, 1), (f - 1) mod 80 + 2 pixels wide for
// fade level f (pixels of the original picture, at the context's drawing
// scale); nothing at 0.
void DrawFadeSquares(DrawContext& dc, int32_t fadeLevel);

// Grey index of the whole-frame background for the level.
int BackgroundGreyIndex(const GameState& g);

}  // namespace mervox
