// A machine for the program's main loop with no window, no waiting and no
// sound device, so that a test or a long unattended run can drive the whole
// program: its clock is a millisecond count that waiting moves on at once,
// the keys held come from a script, and frames are counted, not shown.
#pragma once

#include <cstdint>
#include <functional>

#include "app/services/program_platform.h"

namespace mervox {

struct NullPlatform {
    uint32_t clock = 1;         // milliseconds
    // Waits really wait, on the real clock (ClockMs), as in a window: for
    // measuring the pacing. The clock then starts wherever ClockMs stands.
    bool paced = false;
    uint32_t closeAtMs = 0;     // when nonzero, the window "closes" then
    long framesPresented = 0;
    long samples = 0;           // passes that sampled the keys
    // The round's and the title's keys at the clock's time, sampled once a
    // pass; empty: none.
    std::function<InputFrame(uint32_t clockMs)> keys;
    // The player's commands (pause, screenshot, focus loss) due at the
    // clock's time, asked at every pass of the pump; empty: none. Returns
    // whether there is one and sets it.
    std::function<bool(uint32_t clockMs, PlayerCommand& command)> commandAt;
    PlatformEvents events;  // given by the program when it connects
};

// The program's platform on the null machine. A wait moves the clock on by
// the milliseconds asked (one for a wait of 0 or less, as one pass of a real
// pump takes time), so a key script is always reached and the loop keeps
// its 60 passes a second of clock time.
class NullPlatformHooks final : public ProgramPlatform {
public:
    explicit NullPlatformHooks(NullPlatform& n) : n_(n) {}
    void connect(const PlatformEvents& events) const override { n_.events = events; }
    uint32_t clockMs() const override;
    void pumpMessagesFor(int milliseconds) const override;
    ActionFrame sampleInput() const override;
    void presentFrame(const uint32_t*) const override { n_.framesPresented += 1; }

private:
    NullPlatform& n_;
};

}  // namespace mervox
