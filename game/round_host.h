// What a round asks of the world outside the simulation.
//
// The simulation never touches a keyboard, a sound device or a file. Each
// of those requests goes through one of these hooks; the program, the
// headless runner and the tests fill them in. A null hook means "nothing
// there": a key never held, a request that does nothing.
#pragma once

namespace mervox {

// Keys the simulation and the title poll directly.
enum class HostKey {
    Left, Up, Right, Down,
    Z, X, Q, E,
    R, F, B, S,
    Ctrl, Escape,
};

enum class VoiceClip { Ready, Go };

struct RoundHost {
    void* ctx = nullptr;

    // True while the key is held (or was pressed since the last poll).
    bool (*keyDown)(void* ctx, HostKey key) = nullptr;

    // An effect passed its cooldown and is written to its device; `restart`
    // asks for the device to be reset first so the effect starts over.
    void (*writeEffect)(void* ctx, int effect, bool restart) = nullptr;

    // A voice clip replaces any clip still playing.
    void (*playVoice)(void* ctx, VoiceClip clip) = nullptr;

    void (*saveScoresAndConfig)(void* ctx) = nullptr;
    void (*saveReplay)(void* ctx) = nullptr;

    void (*preloadMusic)(void* ctx) = nullptr;
    void (*stopMusic)(void* ctx) = nullptr;

    // Dispatches window messages for the given milliseconds (the key-release
    // wait at the end of a round).
    void (*pumpMessages)(void* ctx, int milliseconds) = nullptr;

    // Reads the millisecond clock (the title seeds its generator from it).
    unsigned (*clockMs)(void* ctx) = nullptr;
};

inline bool HostKeyDown(const RoundHost& h, HostKey key) {
    return h.keyDown != nullptr && h.keyDown(h.ctx, key);
}

}  // namespace mervox
