// The game as a player runs it: window, main loop, title, rounds.
#pragma once

#include "app/command_line.h"

namespace mervox {

int RunProgram(const CommandLine& cmd);

// Plays a recording drawing every frame as fast as it can and prints the
// timing line.
int RunTimedemo(const CommandLine& cmd);

}  // namespace mervox
