// A round host's key poll answered from key bits the host's context holds,
// for a player made of code (tests, tools, benchmarks, the soak):
//
//   host.ctx = &player;
//   host.keyDown = HeldKeyDown<&Player::keys>;
#pragma once

#include <cstdint>

#include "game/key_bits.h"

namespace mervox {

// Key bits (KeyLeft ... KeyTurnE) and nothing else to hold them.
struct HeldKeys {
    int32_t bits = 0;
};

namespace held_keys_detail {
template <class Member>
struct OwnerOf;
template <class Owner, class Bits>
struct OwnerOf<Bits Owner::*> {
    using type = Owner;
};
}  // namespace held_keys_detail

// Whether the key is held by the bits in member `Bits` of the context.
template <auto Bits>
bool HeldKeyDown(void* ctx, HostKey key) {
    using Owner = typename held_keys_detail::OwnerOf<decltype(Bits)>::type;
    return KeyBitsHold(static_cast<const Owner*>(ctx)->*Bits, key);
}

}  // namespace mervox
