// The frame loop: one update of the current RunMode per pass, 60 passes a
// second, a drawing on every FrameSkip-th pass. The world it waits on and
// draws to comes in through hooks so the loop can also run on a test clock.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

struct FrameLoopHooks {
    void* ctx = nullptr;
    uint32_t (*clockMs)(void* ctx) = nullptr;
    void (*pumpMessagesFor)(void* ctx, int milliseconds) = nullptr;
    void (*titleUpdate)(void* ctx) = nullptr;
    void (*drawTitleScreen)(void* ctx) = nullptr;
    void (*roundUpdate)(void* ctx) = nullptr;
    void (*drawScene)(void* ctx) = nullptr;
    // Called at the end of every pass (measurements); may be null.
    void (*passDone)(void* ctx) = nullptr;
};

// Runs passes until QuitRequested is set. `previousWaitEnd` is the clock
// time read during start-up, which stands for the end of the wait before
// the first pass.
void RunFrameLoop(GameState& g, const FrameLoopHooks& h, uint32_t previousWaitEnd);

}  // namespace mervox
