// One pass's keys, as the round and the title see them.
//
// The program samples every key once at the start of a pass, before the
// update, into this plain value and hands it to the update as an argument;
// nothing asks for a key during an update. A key counts as down in the
// pass when it was held at the sample or pressed at any time since the
// previous sample, so a tap shorter than a pass is seen in exactly one
// pass. Recorded rounds take their keys from InputLog and read only the
// keys the player steers a playback with (Ctrl, Kick, Escape) from here.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace mervox {

// The keys the round and the title read, named by the action each stands
// for (the player binds the keys in controls.txt). The order is the order
// of their bits, which recordings depend on.
enum class HostKey {
    Left, Up, Right, Down,
    Kick, Jump, TurnLeft, TurnRight,
    Replay, FrameRate, Music, Effects,
    Ctrl, Escape,
};

inline constexpr HostKey kHostKeys[] = {
    HostKey::Left,  HostKey::Up,       HostKey::Right,     HostKey::Down,   HostKey::Kick,
    HostKey::Jump,  HostKey::TurnLeft, HostKey::TurnRight, HostKey::Replay, HostKey::FrameRate,
    HostKey::Music, HostKey::Effects,  HostKey::Ctrl,      HostKey::Escape,
};
constexpr int kHostKeyCount = static_cast<int>(sizeof kHostKeys / sizeof kHostKeys[0]);

constexpr uint16_t HostKeyBit(HostKey k) { return static_cast<uint16_t>(1u << static_cast<unsigned>(k)); }

struct InputFrame {
    uint16_t held = 0;    // HostKeyBit of each key held when sampled
    uint16_t tapped = 0;  // ... of each key pressed since the previous sample

    constexpr uint16_t downBits() const { return static_cast<uint16_t>(held | tapped); }
    constexpr bool down(HostKey k) const { return (downBits() & HostKeyBit(k)) != 0; }
};

// A frame in which the keys given are held (scripted players, tests).
constexpr InputFrame HoldingKeys(std::initializer_list<HostKey> keys) {
    InputFrame f;
    for (HostKey k : keys) f.held = static_cast<uint16_t>(f.held | HostKeyBit(k));
    return f;
}

}  // namespace mervox
