// The picture of the start-up question: full screen or a window.
#pragma once

#include "draw/frame_buffer.h"
#include "render/render_resources.h"

namespace mervox {

// The start-up question, full screen or a window, over a plain frame of
// the title's grey, with the two answers as buttons; `highlighted` 0 is
// yes, 1 no.
struct QuestionBox {
    int x0, y0, x1, y1;
};
constexpr QuestionBox kQuestionYes{171, 261, 311, 301};
constexpr QuestionBox kQuestionNo{331, 261, 471, 301};
void DrawFullScreenQuestion(const FrameView& frame, const RenderResources& res, int highlighted);

}  // namespace mervox
