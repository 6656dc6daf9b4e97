// The soak: the whole program on the null platform for a given number of
// rounds.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// Runs the whole program on the null platform with erratic keys (never
// Escape) for the number of rounds asked, in a scratch copy of the game
// folder's data, and prints what it did.
int RunSoak(const CommandLine& cmd);

}  // namespace mervox
