// The camera that follows the player through a round.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

void UpdateCamera(GameState& g);

// The checkerboard relief of the background floor: each of the 7 x 7 cells
// eases one unit toward its depth for the level.
void RelieveBackground(GameState& g);

}  // namespace mervox
