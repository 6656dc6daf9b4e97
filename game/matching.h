// Groups of one colour, vanishing, and the chain links they pay.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// The size recorded for a grouping mark (a mark outside the table reads 0).
int& GroupTotal(GameState& g, int mark);

// Zeroes every slot's group size and mark, the group-size table and the
// mark counter.
void ClearGroupMarks(GameState& g);

// Depth-first flood over same-coloured, settled, face-touching blocks from
// the seed (i, j, layer). `count` is the size counted so far (1 for the seed
// itself); returns the size reached. A vanishing seed draws settled solid
// neighbours of its colour into a chain as it goes.
int FloodGroup(GameState& g, const RoundHost& host, int i, int j, int layer, int count,
               int mark, bool includeArriving);

// The grouping steps for one slot, run inside the board loop after that
// slot's arrival step: flood it when ungrouped, then settle its size with the
// largest recorded for its mark.
void GroupSlot(GameState& g, const RoundHost& host, int i, int j, int layer);

// Starts, runs and ends the vanishing of every slot, in board order.
void UpdateVanishing(GameState& g, const RoundHost& host);

}  // namespace mervox
