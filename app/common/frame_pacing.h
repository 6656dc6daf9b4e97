// The arithmetic of the frame loop's pacing, drawing cycle and frame-rate
// count, apart from any clock or window so it can be checked on its own.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

// Budgets of 17, 17 and 16 ms for the pacing steps 0, 1 and 2: three
// passes take 50 ms, 60 passes a second.
inline int PacingBudget(int step) { return 17 - (step >> 1); }

// The wait for a pass: its budget less the time already spent since the
// end of the previous wait (clock differences taken modulo 2^32). Negative
// when the pass has overrun its budget.
inline int PacingWait(int step, uint32_t now, uint32_t previousWaitEnd) {
    return PacingBudget(step) - static_cast<int32_t>(now - previousWaitEnd);
}

inline int NextPacingStep(int step) { return (step + 1) % 3; }

// A sleep that wakes this much or more after its deadline counts as a stall.
constexpr int kLateWakeLimitMs = 16;

// Where the next pass's budget counts from, given the wait the pass asked
// for and the clock when its wait was over. A wait that had time to run
// ends at its deadline, the previous end plus the budget, even when the
// last sleep woke a millisecond or a few late: the system's sleeps
// overshoot now and then, and a loop that lost each such millisecond
// would fall below 60 passes a second whenever the machine is busy. A pass
// whose work had already spent its budget (a wait of 0 or less), or a wake
// a whole budget late, counts from the clock as it is: an overrun is not
// made up by bunching updates.
inline uint32_t PacingWaitEnd(int wait, uint32_t previousWaitEnd, int step, uint32_t now) {
    if (wait <= 0) return now;
    const uint32_t deadline = previousWaitEnd + static_cast<uint32_t>(PacingBudget(step));
    const int32_t late = static_cast<int32_t>(now - deadline);
    return late >= 0 && late < kLateWakeLimitMs ? deadline : now;
}

// The drawing cycle: a pass is drawn when the new phase is 0.
inline int NextFramePhase(int phase, int frameSkip) {
    return frameSkip > 0 ? (phase + 1) % frameSkip : 0;
}

// Passes counted over windows of at least one second.
struct FrameRateMeter {
    bool started = false;
    uint32_t windowStart = 0;
    uint32_t count = 0;
};

// Counts one pass ending at `now`; when a window of 1000 ms or more has
// closed, FramesPerSecond becomes its count divided by FrameSkip.
void CountPass(FrameRateMeter& m, GameState& g, uint32_t now);

}  // namespace mervox
