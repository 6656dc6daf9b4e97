// The camera that follows the player through a round.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

void UpdateCamera(GameState& g);

// The checkerboard relief of the background floor, one cell per call.
void RelieveBackground(GameState& g, int a, int b);

}  // namespace mervox
