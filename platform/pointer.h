// The mouse over the game's picture, polled: where it points in picture
// pixels and whether its left button is held. A click shorter than a pass
// still counts once, at the place it was made.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace mervox {

struct PointerState {
    const ProgramWindow* window = nullptr;
    bool watching = false;
    bool pressedSincePoll = false;
    int pressX = 0, pressY = 0;  // window coordinates of that press
};

// Starts noting left-button presses as SDL takes them in; the state must
// stay in place until StopPointer.
void StartPointer(PointerState& p, const ProgramWindow& w);
void StopPointer(PointerState& p);

// (x, y) in the 640x480 picture (0, 0 its top left; outside the picture
// gives values beyond it). True while the left button is held, or once
// after a press released before this poll (then at the press's place).
bool PollPointer(PointerState& p, int& x, int& y);

}  // namespace mervox
