// What the player asks of the program itself, outside the game's keys: a
// pause, a screenshot, or the window losing the focus.
#pragma once

namespace mervox {

enum class PlayerCommand {
    Pause,       // P (and Start on a pad): pauses a keyboard round or resumes it
    Screenshot,  // F12: the current frame to a PNG
    FocusLost,   // the window lost the keyboard focus: pauses a keyboard round
};

}  // namespace mervox
