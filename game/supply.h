// New blocks: placement, arrival, the timed, idle, refill and replacement
// supplies, and the block census.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// Places an announced block of the colour: start 0 anywhere on the board,
// start 1 in the inner 5 x 5; avoids a cell where it would complete a group
// at once (unless it is the 50th cell tried). May place nothing.
void SupplyBlock(GameState& g, const RoundHost& host, int start, int colour);

// Counts down the slot's announcement; an arrived block starts rising from
// below the floor or dropping onto its base.
void ArriveSlot(GameState& g, const RoundHost& host, int i, int j, int layer);

// Nothing vanished for 600 updates: a block of a random colour on the
// player's cell.
void IdleSupply(GameState& g, const RoundHost& host);

// One displaced colour per update from the front of the refill queue.
void RefillSupply(GameState& g, const RoundHost& host);

// Every SupplyInterval updates while the board holds fewer than BlockCap.
void TimedSupply(GameState& g, const RoundHost& host);

// BlockCount and ColourCounts over solid and vanishing slots.
void CountBlocks(GameState& g);

// A vanished block's replacement in the next colour, 120 updates after it
// started vanishing: the refill countdowns of the slots from `firstSlot` on
// (board order, see SlotIndex), the slots before it being already done.
void ReplaceVanishedBlocks(GameState& g, const RoundHost& host, int firstSlot);

}  // namespace mervox
