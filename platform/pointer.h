// The mouse over the game's picture, polled: where it points in picture
// pixels and whether its left button is held.
#pragma once

#include "platform/window.h"

namespace mervox {

// (x, y) in the 640x480 picture (0, 0 its top left; outside the picture
// gives values beyond it). True while the left button is held.
bool PollPointer(const ProgramWindow& w, int& x, int& y);

}  // namespace mervox
