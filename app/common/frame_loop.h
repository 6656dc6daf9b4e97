// The frame loop: one update of the current RunMode per pass, 60 passes a
// second, a drawing on every FrameSkip-th pass. The world it waits on and
// draws to is an interface, so the loop can also run on a test clock.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"
#include "save/action_frame.h"

namespace mervox {

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

// Runs passes until QuitRequested is set. `previousWaitEnd` is the clock
// time read during start-up, which stands for the end of the wait before
// the first pass.
void RunFrameLoop(GameState& g, FrameLoopHooks& h, uint32_t previousWaitEnd);

}  // namespace mervox
