// Plays a recording without a window: the check of the simulation.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// Runs one playback round as the title starts it and prints
// "score=... level=... frames=... cleared=...". Returns the exit status.
int RunHeadless(const CommandLine& cmd);

}  // namespace mervox
