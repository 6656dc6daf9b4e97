// The eight round keys and their bits in KeysNow and the input log: the one
// table the round reads its pass's keys by, and the one a scripted player
// (tests, the demonstration bot) makes its frames from.
#pragma once

#include "game/input_frame.h"
#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

struct RoundKey {
    HostKey key;
    int32_t bit;
};

// In the order of their bits.
inline constexpr RoundKey kRoundKeys[] = {
    {HostKey::Left, KeyLeft}, {HostKey::Up, KeyUp},     {HostKey::Right, KeyRight},   {HostKey::Down, KeyDown},
    {HostKey::Kick, KeyKick}, {HostKey::Jump, KeyJump}, {HostKey::TurnLeft, KeyTurnQ}, {HostKey::TurnRight, KeyTurnE},
};

// The bit of a round key; 0 for the keys that have none (Replay, FrameRate,
// Music, Effects, Ctrl, Escape).
constexpr int32_t KeyBitOf(HostKey key) {
    for (const RoundKey& k : kRoundKeys)
        if (k.key == key) return k.bit;
    return 0;
}

// Whether a set of key bits holds the key: the answer to a key poll for a
// player whose keys are given as bits.
constexpr bool KeyBitsHold(int32_t bits, HostKey key) { return (bits & KeyBitOf(key)) != 0; }

// The bits of the eight round keys down in the pass.
constexpr int32_t RoundKeyBits(const InputFrame& in) {
    int32_t bits = 0;
    for (const RoundKey& k : kRoundKeys)
        if (in.down(k.key)) bits |= k.bit;
    return bits;
}

// A frame holding the round keys of `bits` (a player made of code: tests,
// tools, the demonstration bot, the soak).
constexpr InputFrame FrameHoldingBits(int32_t bits) {
    InputFrame f;
    for (const RoundKey& k : kRoundKeys)
        if (bits & k.bit) f.held = static_cast<uint16_t>(f.held | HostKeyBit(k.key));
    return f;
}

// The frame with only the eight round keys left in it.
constexpr InputFrame RoundKeysOnly(const InputFrame& in) {
    const uint16_t mask = FrameHoldingBits(kArrowBits | KeyKick | KeyJump | KeyTurnQ | KeyTurnE).held;
    return InputFrame{static_cast<uint16_t>(in.held & mask), static_cast<uint16_t>(in.tapped & mask)};
}

}  // namespace mervox
