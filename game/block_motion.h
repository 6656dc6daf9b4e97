// Blocks easing back to rest, kicked blocks sliding cell to cell, and
// stacked blocks dropping when their base has gone.
#pragma once

#include "game/slot_set.h"
#include "game/state/board.h"
#include "game/state/game_state.h"

namespace mervox {

// Whether the motion step can change the slot: it is away from rest or has
// a slide velocity (an empty record's leftover values move too), or it is a
// stacked block over an empty floor slot, which may drop. A slot for which
// this is false is left as it is by the motion step.
inline bool NeedsMotionStep(const BlockSlot& s, int layer, bool floorEmpty) {
    return (s.offsetX != 0.0f) | (s.offsetZ != 0.0f) | (s.height != RestHeight(layer)) |
           (s.slideX != 0.0f) | (s.slideZ != 0.0f) | ((layer == 1) & (s.state != Empty) & floorEmpty);
}

// The motion step of the slots in `moving`, in board order. The caller puts
// in every slot for which NeedsMotionStep holds; a block that slides into a
// slot later in board order is moved again there, as the board loop does,
// and a stacked block whose floor slot empties is stepped too. Every slot a
// block moves into is added to `entered`. `moving` is emptied.
void UpdateBlockMotion(GameState& g, SlotSet& moving, SlotSet& entered);

}  // namespace mervox
