// The frame loop: one update of the current RunMode per pass, 60 passes a
// second, a drawing on every FrameSkip-th pass. The world it waits on and
// draws to is an interface, so the loop can also run on a test clock.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"
#include "save/action_frame.h"

namespace mervox {

// The paced passes every loop of the program runs, the game's and the
// viewer's: each pass waits for its deadline (60 passes a second, its own
// work paid out of its budget), then samples every key once and runs.
class PassHooks {
public:
    virtual ~PassHooks() = default;
    virtual uint32_t clockMs() = 0;
    virtual void pumpMessagesFor(int milliseconds) = 0;
    // The pass's input, sampled once, after its wait and before its update.
    virtual ActionFrame sampleInput() { return ActionFrame{}; }
    // Whether the loop ends: asked before each pass and after its wait.
    virtual bool quitting() const = 0;
    // Whether the pass waits for its deadline (not while a played-back
    // round is fast-forwarded).
    virtual bool waits() const { return true; }
    // One pass with its keys; `waitEnd` is when its wait ended.
    virtual void pass(const ActionFrame& in, uint32_t waitEnd) = 0;
};

// Runs passes until `quitting` says so. `previousWaitEnd` is the clock time
// read during start-up, which stands for the end of the wait before the
// first pass.
void RunPacedPasses(PassHooks& h, uint32_t previousWaitEnd);

class FrameLoopHooks {
public:
    virtual ~FrameLoopHooks() = default;
    virtual uint32_t clockMs() = 0;
    virtual void pumpMessagesFor(int milliseconds) = 0;
    // The pass's input, sampled once, after its wait and before its update.
    virtual ActionFrame sampleInput() { return ActionFrame{}; }
    virtual void titleUpdate(const ActionFrame& in) = 0;
    virtual void drawTitleScreen() = 0;
    virtual void roundUpdate(const ActionFrame& in) = 0;
    virtual void drawScene() = 0;
    // Called at the end of every pass (measurements).
    virtual void passDone() {}
};

// The game's passes (RunPacedPasses) until QuitRequested is set: the
// title's or the round's update, then its drawing on every FrameSkip-th
// pass, none while a playback is fast-forwarded. `previousWaitEnd` as for
// RunPacedPasses.
void RunFrameLoop(GameState& g, FrameLoopHooks& h, uint32_t previousWaitEnd);

}  // namespace mervox
