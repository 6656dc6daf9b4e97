// One complete title frame: the turning board, the logo, the menu lines,
// the three best scores, the option lines with their values, the measured
// frames per second and the white squares of the fade; then presented.
#pragma once

#include "draw/frame_buffer.h"
#include "game/state/game_state.h"
#include "render/render_resources.h"

namespace mervox {

// Reads the state only; changes nothing but the frame buffer.
// The frame may be at any drawing scale, as for DrawScene.
void DrawTitleScreen(const GameState& g, const RenderResources& res, FrameView fb,
                     const FrameHooks& hooks = FrameHooks{});

// The score as drawn: "%05d" below 100000, "%06d" up to 999999, and at most
// seven digits above (9999999 for anything larger), right-aligned to end at
// x = 240. Returns the digits written to `text` and the x of the first one.
int FormatTitleScore(uint32_t score, char (&text)[16], int& firstX);

}  // namespace mervox
