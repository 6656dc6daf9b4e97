#include "game/state/board.h"

namespace mervox {

void VacateSlot(BlockSlot& s) {
    s.state = Empty;
    s.arriveTimer = 0;
    s.refillTimer = 0;
}

void MoveBlock(BlockSlot& from, BlockSlot& to) {
    if (&from == &to) return;
    to = from;
    VacateSlot(from);
}

void QueueDisplacedColour(GameState& g, int colour) {
    for (int& entry : g.RefillQueue) {
        if (entry == -1) {
            entry = colour;
            return;
        }
    }
}

int TakeChainSlot(GameState& g) {
    for (int k = 0; k < kChainSlotCount; ++k) {
        if (g.ChainSlots[k].timer == 0) {
            g.LastChainSlot = k;
            return k;
        }
    }
    if (g.LastChainSlot < 0 || g.LastChainSlot >= kChainSlotCount) g.LastChainSlot = 0;
    return g.LastChainSlot;
}

}  // namespace mervox
