#include "app/common/frame_loop.h"

#include "app/common/frame_pacing.h"

namespace mervox {

namespace {

// The game's pass over the title and the rounds.
class GamePasses final : public PassHooks {
public:
    GamePasses(GameState& g, FrameLoopHooks& h) : g_(g), h_(h) {}
    uint32_t clockMs() override { return h_.clockMs(); }
    void pumpMessagesFor(int milliseconds) override { h_.pumpMessagesFor(milliseconds); }
    ActionFrame sampleInput() override { return h_.sampleInput(); }
    bool quitting() const override { return g_.QuitRequested != 0; }
    bool waits() const override { return g_.FastForward == 0; }
    void pass(const ActionFrame& in, uint32_t /*waitEnd*/) override {
        g_.FramePhase = NextFramePhase(g_.FramePhase, g_.FrameSkip);
        if (g_.RunMode == RunTitle) {
            h_.titleUpdate(in);
            if (g_.FramePhase == 0) h_.drawTitleScreen();
        } else if (g_.RunMode >= RunGame && g_.RunMode <= kLastRunMode) {
            h_.roundUpdate(in);
            if (g_.FramePhase == 0 && g_.FastForward == 0) h_.drawScene();
        }
        CountPass(meter_, g_, h_.clockMs());
        h_.passDone();
    }

private:
    GameState& g_;
    FrameLoopHooks& h_;
    FrameRateMeter meter_;
};

}  // namespace

void RunPacedPasses(PassHooks& h, uint32_t previous) {
    int step = 0;
    while (!h.quitting()) {
        // The budget counts from the end of the previous wait, so the work
        // of the pass is paid out of it and an overrun is not made up.
        const uint32_t now = h.clockMs();
        if (h.waits()) {
            const int wait = PacingWait(step, now, previous);
            h.pumpMessagesFor(wait);
            previous = PacingWaitEnd(wait, previous, step, h.clockMs());
        } else {
            previous = h.clockMs();
        }
        if (h.quitting()) break;
        step = NextPacingStep(step);
        // Every key once, for the whole pass: nothing asks for one later.
        h.pass(h.sampleInput(), previous);
    }
}

void RunFrameLoop(GameState& g, FrameLoopHooks& h, uint32_t previous) {
    GamePasses passes(g, h);
    RunPacedPasses(passes, previous);
}

}  // namespace mervox
