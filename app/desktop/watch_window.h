// `mervox --watch`: the viewer in the game's window.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// `mervox --watch FILE [--mode N] [--at FRAME]` on the desktop.
int RunWatch(const CommandLine& cmd);

}  // namespace mervox
