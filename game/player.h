// The player: jumping, kicking, turn keys, gravity, walking and pushing,
// the push in progress and the push-out from block corners.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

void UpdatePlayer(GameState& g, const RoundHost& host);

}  // namespace mervox
