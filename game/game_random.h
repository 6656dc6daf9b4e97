// The game's own linear congruential generator. Recordings replay their
// rounds only with exactly this sequence, so the C library's is never used.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

inline void GameSeed(GameState& g, uint32_t seed) { g.RandomState = seed; }

inline int GameRand(GameState& g) {
    g.RandomState = g.RandomState * 214013u + 2531011u;
    return static_cast<int>((g.RandomState >> 16) & 32767u);
}

}  // namespace mervox
