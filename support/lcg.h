// The fixed pseudo-random sequence behind the scripted players (the soak's
// player, the trace digest's and the tests' erratic keys) and behind the
// generated sounds' noise: a 32-bit linear congruential generator, the same
// numbers on every machine and in every run. The game's own generator is
// another (game/game_random.h); no round depends on this one.
#pragma once

#include <cstdint>

namespace mervox {

struct Lcg {
    uint32_t state = 0;

    // Steps the state and returns it; its high bits are the most random.
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state;
    }
    // A number from 0 to n - 1, from the state's upper 24 bits.
    uint32_t Below(uint32_t n) { return (Next() >> 8) % n; }
};

}  // namespace mervox
