// Groups of one colour, vanishing, and the chain links they pay.
#pragma once

#include "game/round_host.h"
#include "game/slot_set.h"
#include "game/state/board.h"
#include "game/state/game_state.h"

namespace mervox {

// The size recorded for a grouping mark (a mark outside the table reads 0).
// The stand-in for such a mark is one per thread: the board's verifiers
// play rounds side by side.
inline int& GroupTotal(GameState& g, int mark) {
    thread_local int outside = 0;
    if (mark < 0 || mark >= kGroupTableSize) {
        outside = 0;
        return outside;
    }
    return g.GroupSizeTable[mark];
}

// Zeroes every slot's group size and mark, the group-size table and the
// mark counter.
void ClearGroupMarks(GameState& g);

// Depth-first flood over same-coloured, settled, face-touching blocks from
// the seed (i, j, layer). `count` is the size counted so far (1 for the seed
// itself); returns the size reached. A vanishing seed draws settled solid
// neighbours of its colour into a chain as it goes.
int FloodGroup(GameState& g, const RoundHost& host, int i, int j, int layer, int count,
               int mark, bool includeArriving);

// The grouping steps for one slot (by its index, see SlotIndex), run inside
// the board loop after that slot's arrival step: flood it when ungrouped,
// then settle its size with the largest recorded for its mark.
// `likeNeighbour()` false says that no face neighbour of the slot is
// occupied by a block of its colour; the flood then could not join anything
// and is not run. It is asked only of a slot about to be flooded.
template <class LikeNeighbour>
inline void GroupSlot(GameState& g, const RoundHost& host, int index, LikeNeighbour&& likeNeighbour) {
    BlockSlot& s = SlotOf(g, index);
    if (s.groupSize == 0 && IsOccupied(s) && !IsArriving(s)) {
        g.MarkCounter += 1;
        s.groupMark = g.MarkCounter;
        s.groupSize = likeNeighbour() ? FloodGroup(g, host, SlotI(index), SlotJ(index), SlotLayer(index), 1,
                                                   s.groupMark, false)
                                      : 1;
    }
    int& recorded = GroupTotal(g, s.groupMark);
    if (recorded < s.groupSize) {
        recorded = s.groupSize;
    } else {
        s.groupSize = recorded;
    }
}

// GroupSlot for an ungrouped block in play that no face neighbour matches
// in colour: a group of one under `mark`, the next mark (already counted in
// MarkCounter). Returns the size the slot ends up holding.
inline int GroupLoneSlot(GameState& g, BlockSlot& s, int mark) {
    s.groupMark = mark;
    s.groupSize = 1;
    int& recorded = GroupTotal(g, mark);
    if (recorded < 1) {
        recorded = 1;
        return 1;
    }
    s.groupSize = recorded;
    return recorded;
}

// Starts, runs and ends the vanishing of the slots in `slots`, in board
// order. The caller puts in every slot that holds a block or has a pop-up
// counting down (popupSize or popupTimer above 0): the step leaves any other
// slot as it is.
void UpdateVanishing(GameState& g, const RoundHost& host, SlotSet slots);

}  // namespace mervox
