// The board's status line on the title: what became of the last game sent,
// or how many wait in the outbox and why. Laid out in the original
// picture's pixels, drawn at the frame's drawing scale in the player's
// language, edged as the title's own lines are.
#pragma once

#include "draw/frame_buffer.h"
#include "net/board_sender.h"
#include "render/render_resources.h"

namespace mervox {

void DrawBoardStatusLine(const FrameView& frame, const RenderResources& res, const BoardStatus& status);

}  // namespace mervox
