// The question asked at start, full screen or a window, asked in the
// game's own window: it works wherever the window opens (no desktop
// dialog helper needed) and speaks the player's language.
#pragma once

#include <functional>

#include <cstdint>

#include "platform/player_input.h"
#include "platform/window.h"

namespace mervox {

enum class QuestionAnswer { FullScreen, Window, Quit };

// A button of the question in frame-buffer pixels, [x0, x1) x [y0, y1).
struct QuestionButton {
    int x0, y0, x1, y1;
};

// Who draws the question: the frame for the answer highlighted (0 yes, 1
// no), and where the two buttons lie.
struct QuestionPainter {
    std::function<const uint32_t*(int highlighted)> draw;  // may be empty
    QuestionButton yes{}, no{};
};

// Shows the question in the window and waits for the answer, read with the
// options screen's keys of controls.txt: menu_change gives the highlighted
// answer (yes at first), menu_back says no, menu_left and menu_up
// highlight yes, menu_right and menu_down no; a click answers with the
// button clicked. Closing the window ends the program. Pads seen here are
// announced again afterwards, for the game to open.
QuestionAnswer AskFullScreenInWindow(ProgramWindow& w, const PlayerInput& keys, const QuestionPainter& painter);

}  // namespace mervox
