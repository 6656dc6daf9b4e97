// A board no ordinary play makes, for checks that the simulation treats
// every record alike however it goes about its passes: blocks in every state
// with leftover timers, announced blocks that are vanishing, pop-ups on
// empty slots, colours beyond those in play, negative zeros, odd heights,
// refills due together, stale group marks.
#pragma once

#include "game/state/board.h"
#include "game/state/game_state.h"
#include "support/lcg.h"

namespace mervox {

// Overwrites every slot, the group-size table and the mark counter from the
// sequence, and sets five colours in play.
inline void ScrambleBoard(GameState& g, Lcg& rng) {
    static constexpr float kOffsets[] = {0.0f, -0.0f, 4.0f, -4.0f, 48.0f, -92.0f, 96.0f, 0.0f};
    static constexpr float kHeights[] = {0.0f, 100.0f, -100.0f, 300.0f, -150.0f, 4.0f, 96.0f, -240.0f};
    auto pick = [&](uint32_t n) { return static_cast<int>(rng.Below(n)); };
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                BlockSlot& s = g.Board[i][j][l];
                s.state = pick(3) == 0 ? Empty : pick(4);
                s.colour = pick(8) == 0 ? 5 + pick(2) : pick(3);
                s.offsetX = pick(4) == 0 ? kOffsets[pick(8)] : 0.0f;
                s.offsetZ = pick(4) == 0 ? kOffsets[pick(8)] : 0.0f;
                s.height = pick(4) == 0 ? kHeights[pick(8)] : static_cast<float>(l * 100);
                s.slideX = pick(6) == 0 ? (pick(2) ? 8.0f : -8.0f) : 0.0f;
                s.slideY = 0.0f;
                s.slideZ = pick(6) == 0 ? (pick(2) ? 8.0f : -8.0f) : 0.0f;
                s.groupSize = pick(5);
                s.groupMark = pick(40);
                s.vanishTimer = pick(182);
                s.arriveTimer = pick(3) == 0 ? pick(61) : 0;
                s.refillTimer = pick(4) == 0 ? pick(4) : 0;
                s.popupSize = pick(3) == 0 ? pick(31) : 0;
                s.popupTimer = pick(3) == 0 ? pick(31) : 0;
                s.chainLevel = pick(5);
                s.chainSlot = pick(21) - 1;
            }
    for (int& t : g.GroupSizeTable) t = pick(6);
    g.MarkCounter = pick(40);
    g.ColourCount = 5;
}

}  // namespace mervox
