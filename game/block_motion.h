// Blocks easing back to rest, kicked blocks sliding cell to cell, and
// stacked blocks dropping when their base has gone.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

void UpdateBlockMotion(GameState& g);

}  // namespace mervox
