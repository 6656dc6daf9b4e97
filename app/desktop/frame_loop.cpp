#include "app/desktop/frame_loop.h"

#include "app/common/frame_pacing.h"

namespace mervox {

void RunFrameLoop(GameState& g, FrameLoopHooks& h, uint32_t previous) {
    int step = 0;
    FrameRateMeter meter;
    while (g.QuitRequested == 0) {
        // The budget counts from the end of the previous wait, so the work
        // of the pass is paid out of it and an overrun is not made up.
        const uint32_t now = h.clockMs();
        const int wait = PacingWait(step, now, previous);
        if (g.FastForward == 0) {
            h.pumpMessagesFor(wait);
            previous = PacingWaitEnd(wait, previous, step, h.clockMs());
        } else {
            previous = h.clockMs();
        }
        if (g.QuitRequested != 0) break;
        step = NextPacingStep(step);
        g.FramePhase = NextFramePhase(g.FramePhase, g.FrameSkip);

        // Every key once, for the whole pass: nothing asks for one later.
        const ActionFrame in = h.sampleInput();
        if (g.RunMode == RunTitle) {
            h.titleUpdate(in);
            if (g.FramePhase == 0) h.drawTitleScreen();
        } else if (g.RunMode >= RunGame && g.RunMode <= kLastRunMode) {
            h.roundUpdate(in);
            if (g.FramePhase == 0 && g.FastForward == 0) h.drawScene();
        }

        CountPass(meter, g, h.clockMs());
        h.passDone();
    }
}

}  // namespace mervox
