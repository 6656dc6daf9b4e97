#include "app/desktop/frame_loop.h"

#include "app/common/frame_pacing.h"

namespace mervox {

void RunFrameLoop(GameState& g, const FrameLoopHooks& h, uint32_t previous) {
    int step = 0;
    FrameRateMeter meter;
    while (g.QuitRequested == 0) {
        // The budget counts from the end of the previous wait, so the work
        // of the pass is paid out of it and an overrun is not made up.
        const uint32_t now = h.clockMs(h.ctx);
        if (g.FastForward == 0) h.pumpMessagesFor(h.ctx, PacingWait(step, now, previous));
        previous = h.clockMs(h.ctx);
        if (g.QuitRequested != 0) break;
        step = NextPacingStep(step);
        g.FramePhase = NextFramePhase(g.FramePhase, g.FrameSkip);

        if (g.RunMode == RunTitle) {
            h.titleUpdate(h.ctx);
            if (g.FramePhase == 0) h.drawTitleScreen(h.ctx);
        } else if (g.RunMode >= RunGame && g.RunMode <= kLastRunMode) {
            h.roundUpdate(h.ctx);
            if (g.FramePhase == 0 && g.FastForward == 0) h.drawScene(h.ctx);
        }

        CountPass(meter, g, h.clockMs(h.ctx));
        if (h.passDone) h.passDone(h.ctx);
    }
}

}  // namespace mervox
