// One JSON line of the round's state after an update, for comparing runs
// field by field.
#pragma once

#include <string>
#include <vector>

#include "game/state/game_state.h"

namespace mervox {

// Appends the line (with its newline) to `out`. `effects` are the effect
// numbers started in the update, in the order they started.
void AppendTraceLine(const GameState& g, const std::vector<int>& effects, std::string& out);

}  // namespace mervox
