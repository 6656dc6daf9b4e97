// What must hold after every update of a round, whatever the player does:
// the tests' erratic rounds and the program's soak both check it.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

// Empty when the round is well formed; otherwise the first fault found,
// named with the field and the slot it was found in.
std::string FindRoundFault(const GameState& g);

}  // namespace mervox
