// The mouse over the game's picture, polled: where it points in picture
// pixels and whether its left button is held. A click shorter than a pass
// still counts once, at the place it was made.
#pragma once

#include <cstdint>

#include "platform/window.h"

namespace mervox {

struct PointerState {
    const ProgramWindow* window = nullptr;
    bool pressedSincePoll = false;
    int pressX = 0, pressY = 0;  // window coordinates of that press
};

// Starts noting left-button presses as the message pump takes them in (the
// pump's `pointer`); the state must stay in place until StopPointer.
void StartPointer(PointerState& p, const ProgramWindow& w);
void StopPointer(PointerState& p);

// What the message pump hands over: a mouse button pressed at (x, y) in
// window coordinates.
void NotePointerPress(PointerState& p, int button, int x, int y);

// (x, y) in the 640x480 picture (0, 0 its top left; outside the picture
// gives values beyond it). True while the left button is held, or once
// after a press released before this poll (then at the press's place).
bool PollPointer(PointerState& p, int& x, int& y);

}  // namespace mervox
