// `mervox`: the game in its window on the desktop.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// The game folder, video and the window (after the start-up question unless
// --windowed or --fullscreen), the icon, then the program in it. Returns
// the exit status; without a display that shows windows, says how to play
// a recording headless instead.
int RunProgram(const CommandLine& cmd);

}  // namespace mervox
