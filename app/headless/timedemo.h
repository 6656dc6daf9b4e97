// --timedemo: a recorded round played with a frame drawn after every
// update, as fast as the machine allows, without a window.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// Plays a recording drawing every frame as fast as it can and prints the
// timing line.
int RunTimedemo(const CommandLine& cmd);

}  // namespace mervox
