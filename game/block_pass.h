// The blocks' part of an update: counting, refills, grouping, arrivals,
// motion and vanishing.
#pragma once

#include "game/round_host.h"
#include "game/simulation.h"
#include "game/state/game_state.h"

namespace mervox {

// Counts the blocks, runs the refill countdowns, clears the grouping marks,
// then in board order lands announced blocks and groups every slot, eases
// the background relief, moves blocks and runs their vanishing.
//
// With SlotVisits::Needed each pass visits only the slots it can change;
// which those are is found in one sweep of the board at the start and
// followed as blocks land and move. The result is the same as with
// SlotVisits::Every, which visits every slot in board order.
void UpdateBlocks(GameState& g, const RoundHost& host, SlotVisits visits);

}  // namespace mervox
