// A machine for the program's main loop with no window, no waiting and no
// sound device, so that a test or a long unattended run can drive the whole
// program: its clock is a millisecond count that waiting moves on at once,
// the keys held come from a script, and frames are counted, not shown.
#pragma once

#include <cstdint>

#include "app/desktop/program.h"

namespace mervox {

struct NullPlatform {
    uint32_t clock = 1;         // milliseconds
    // Waits really wait, on the real clock (ClockMs), as in a window: for
    // measuring the pacing. The clock then starts wherever ClockMs stands.
    bool paced = false;
    uint32_t closeAtMs = 0;     // when nonzero, the window "closes" then
    long framesPresented = 0;
    long keyPolls[14] = {};     // polls of each HostKey, by its value
    // The keys held at the clock's time; null: none.
    void* scriptCtx = nullptr;
    bool (*keyHeld)(void* ctx, uint32_t clockMs, HostKey key) = nullptr;
    // The player's commands (pause, screenshot, focus loss) due at the
    // clock's time, asked at every pass of the pump; null: none. Returns
    // whether there is one and sets it.
    bool (*commandAt)(void* ctx, uint32_t clockMs, PlayerCommand& command) = nullptr;
    PlatformEvents events;  // given by the program when it connects
    int32_t* quitRequested = nullptr;
};

// The program's hooks onto the null platform. A wait moves the clock on by
// the milliseconds asked (one for a wait of 0 or less, as one pass of a real
// pump takes time), so a key script is always reached and the loop keeps
// its 60 passes a second of clock time.
ProgramPlatform NullPlatformHooks(NullPlatform& n);

}  // namespace mervox
