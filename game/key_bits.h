// The eight round keys and their bits in KeysNow and the input log: the one
// table the round polls, and the one a scripted player (tests, the
// demonstration bot) answers key polls from.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

struct RoundKey {
    HostKey key;
    int32_t bit;
};

// In the order the round polls them each update.
inline constexpr RoundKey kRoundKeys[] = {
    {HostKey::Left, KeyLeft}, {HostKey::Up, KeyUp},  {HostKey::Right, KeyRight}, {HostKey::Down, KeyDown},
    {HostKey::Z, KeyKick},    {HostKey::X, KeyJump}, {HostKey::Q, KeyTurnQ},     {HostKey::E, KeyTurnE},
};

// The bit of a round key; 0 for the keys that have none (R, F, B, S, Ctrl,
// Escape).
constexpr int32_t KeyBitOf(HostKey key) {
    for (const RoundKey& k : kRoundKeys)
        if (k.key == key) return k.bit;
    return 0;
}

// Whether a set of key bits holds the key: the answer to a key poll for a
// player whose keys are given as bits.
constexpr bool KeyBitsHold(int32_t bits, HostKey key) { return (bits & KeyBitOf(key)) != 0; }

// Polls the eight round keys through the host and returns their bits.
inline int32_t PollRoundKeys(const RoundHost& host) {
    int32_t bits = 0;
    for (const RoundKey& k : kRoundKeys)
        if (HostKeyDown(host, k.key)) bits |= k.bit;
    return bits;
}

}  // namespace mervox
