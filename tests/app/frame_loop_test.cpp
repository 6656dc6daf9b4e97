#include "app/common/frame_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/common/frame_pacing.h"
#include "platform/screen_mode.h"

namespace mervox {
namespace {

// A loop run on a simulated millisecond clock: waiting moves the clock in
// 1 ms sleeps, as the real message pump does, and updates and drawings may
// cost time.
struct SimulatedLoop : FrameLoopHooks {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    uint32_t clock = 1000;
    int passes = 0;
    int passLimit = 600;
    int titleUpdates = 0;
    int roundUpdates = 0;
    std::vector<int> drawnPasses;
    std::vector<int> waits;            // the wait asked for in each pass
    std::vector<uint32_t> passEnds;    // clock at the end of each pass's wait
    std::vector<int> workMs;           // cost of the update in pass k (index k - 1)
    std::vector<int> lateWakeMs;       // how late the wait of pass k ends (index k - 1)
    int quitDuringWaitOfPass = -1;
    int samples = 0;
    std::vector<int> samplesAtUpdate;  // samples taken when each update ran
    std::vector<bool> tapSeen;         // whether each update's input held the tap

    SimulatedLoop() {
        InitProgramState(*g);
        g->FadeLevel = 0;
    }

    uint32_t clockMs() override { return clock; }
    void pumpMessagesFor(int wait) override {
        waits.push_back(wait);
        if (quitDuringWaitOfPass == passes + 1) g->QuitRequested = 1;
        const uint32_t start = clock;
        do {
            if (wait != 0) clock += 1;
        } while (static_cast<int32_t>(clock - start) < wait);
        const size_t pass = static_cast<size_t>(passes);
        if (pass < lateWakeMs.size()) clock += lateWakeMs[pass];
        passEnds.push_back(clock);
    }
    void Work() {
        const int pass = passes + 1;
        if (pass <= static_cast<int>(workMs.size())) clock += workMs[pass - 1];
    }
    // The pass's input: a tap of Z in the third pass only.
    ActionFrame sampleInput() override {
        ActionFrame f;
        if (++samples == 3) f.tap(ControlAction::Kick);
        return f;
    }
    void Updated(const ActionFrame& in) {
        samplesAtUpdate.push_back(samples);
        tapSeen.push_back(in.down(ControlAction::Kick));
        Work();
    }
    void titleUpdate(const ActionFrame& in) override {
        titleUpdates++;
        Updated(in);
    }
    void roundUpdate(const ActionFrame& in) override {
        roundUpdates++;
        Updated(in);
    }
    void drawTitleScreen() override { drawnPasses.push_back(passes + 1); }
    void drawScene() override { drawnPasses.push_back(passes + 1); }
    void passDone() override {
        if (++passes >= passLimit) g->QuitRequested = 1;
    }

    void Run(uint32_t startUpEnd) { RunFrameLoop(*g, *this, startUpEnd); }
    void Run() { Run(clock); }
};

TEST(FramePacing, BudgetsOf17_17_16) {
    EXPECT_EQ(PacingBudget(0), 17);
    EXPECT_EQ(PacingBudget(1), 17);
    EXPECT_EQ(PacingBudget(2), 16);
    EXPECT_EQ(PacingWait(0, 1010, 1000), 7);
    EXPECT_EQ(PacingWait(2, 1030, 1000), -14);
    // Differences are taken across the clock's wrap.
    EXPECT_EQ(PacingWait(1, 3u, 0xFFFFFFFEu), 12);

    SimulatedLoop s;
    s.Run();
    ASSERT_EQ(s.passEnds.size(), 600u);
    uint32_t previous = 1000;
    for (size_t k = 0; k < s.passEnds.size(); ++k) {
        EXPECT_EQ(s.passEnds[k] - previous, k % 3 == 2 ? 16u : 17u) << "pass " << k + 1;
        previous = s.passEnds[k];
    }
    // Exactly 60 passes a second.
    EXPECT_EQ(s.passEnds.back() - 1000u, 10000u);
    EXPECT_EQ(s.titleUpdates, 600);
}

TEST(FramePacing, WorkIsPaidFromTheBudgetAndAnOverrunIsNotMadeUp) {
    SimulatedLoop s;
    s.passLimit = 9;
    s.workMs = {5, 5, 5, 40, 5, 5, 5, 5, 5};
    s.Run();
    // Pass 2 waits 17 minus the 5 ms its predecessor's update took.
    EXPECT_EQ(s.waits[1], 12);
    // Pass 4's update took 40 ms: pass 5 finds its budget spent, sleeps once
    // and the next budgets count from that late end.
    EXPECT_EQ(s.waits[4], 17 - 40);
    EXPECT_EQ(s.passEnds[4] - s.passEnds[3], 41u);
    EXPECT_EQ(s.passEnds[5] - s.passEnds[4], 16u);
    EXPECT_EQ(s.passEnds[6] - s.passEnds[5], 17u);
    // Nine passes: the 24 ms overrun plus one sleep are simply lost.
    EXPECT_EQ(s.passEnds[8] - 1000u, 150u + (41u - 17u));
}

// The system's sleep may wake a little after the deadline; the next budget
// still counts from the deadline, so a late millisecond in every pass does
// not make 60 passes a second into 57. A wake a whole budget late is a
// stall and, as an overrun, is not made up.
TEST(FramePacing, ALateWakeIsPaidFromTheNextBudget) {
    SimulatedLoop s;
    s.lateWakeMs.assign(600, 1);
    s.Run();
    ASSERT_EQ(s.passEnds.size(), 600u);
    EXPECT_EQ(s.waits[1], 17 - 1);
    EXPECT_EQ(s.waits[2], 16 - 1);
    // Every pass ends one late millisecond after its deadline: 600 passes
    // still take ten seconds.
    EXPECT_EQ(s.passEnds.back() - 1000u, 10000u + 1u);

    SimulatedLoop jitter;
    jitter.passLimit = 6;
    jitter.lateWakeMs = {0, 3, 0, 15, 0, 0};
    jitter.Run();
    EXPECT_EQ(jitter.passEnds[1], 1000u + 34u + 3u);
    EXPECT_EQ(jitter.waits[2], 16 - 3);
    EXPECT_EQ(jitter.passEnds[2], 1000u + 50u);
    EXPECT_EQ(jitter.waits[4], 17 - 15);
    EXPECT_EQ(jitter.passEnds[5], 1000u + 100u);

    SimulatedLoop stall;
    stall.passLimit = 4;
    stall.lateWakeMs = {0, kLateWakeLimitMs, 0, 0};
    stall.Run();
    EXPECT_EQ(stall.passEnds[1], 1000u + 34u + kLateWakeLimitMs);
    EXPECT_EQ(stall.waits[2], 16) << "a stall counts from its own end";
    EXPECT_EQ(stall.passEnds[3] - stall.passEnds[1], 16u + 17u);
}

TEST(FramePacing, StartUpThatRanLongMakesTheFirstPassLate) {
    SimulatedLoop s;
    s.passLimit = 2;
    s.clock = 1100;
    s.Run(1000);
    EXPECT_EQ(s.waits[0], 17 - 100);
    EXPECT_EQ(s.passEnds[0], 1101u);
    EXPECT_EQ(s.passEnds[1], 1118u);
}

TEST(FrameLoop, FrameSkipDrawsEveryNthPass) {
    for (int skip : {1, 2, 3, 10}) {
        SimulatedLoop s;
        s.g->FrameSkip = skip;
        s.passLimit = 180;
        s.Run();
        ASSERT_EQ(s.drawnPasses.size(), static_cast<size_t>(180 / skip)) << skip;
        for (size_t k = 0; k < s.drawnPasses.size(); ++k)
            EXPECT_EQ(s.drawnPasses[k], static_cast<int>(k + 1) * skip);
        // The measured rate over the first full second.
        EXPECT_EQ(s.g->FramesPerSecond, static_cast<uint32_t>(60 / skip)) << skip;
        EXPECT_EQ(s.titleUpdates, 180);
    }
}

TEST(FrameLoop, FastForwardNeitherWaitsNorDraws) {
    SimulatedLoop s;
    s.g->RunMode = RunDemo1;
    s.g->FastForward = 1;
    s.g->FrameSkip = 2;
    s.passLimit = 3000;
    s.workMs.assign(3000, 0);
    for (int k = 0; k < 3000; k += 2) s.workMs[k] = 1;  // 2 passes per ms
    s.Run();
    EXPECT_TRUE(s.waits.empty());
    EXPECT_TRUE(s.drawnPasses.empty());
    EXPECT_EQ(s.roundUpdates, 3000);
    // 2000 unpaced passes in the first second, divided by FrameSkip.
    EXPECT_EQ(s.g->FramesPerSecond, 1000u);
}

TEST(FrameLoop, UnknownRunModeOnlyWaitsAndCounts) {
    SimulatedLoop s;
    s.g->RunMode = static_cast<RunModeValue>(kLastRunMode + 1);  // a value no mode has, as in a state of noise
    s.passLimit = 120;
    s.Run();
    EXPECT_EQ(s.titleUpdates + s.roundUpdates, 0);
    EXPECT_TRUE(s.drawnPasses.empty());
    EXPECT_EQ(s.waits.size(), 120u);
    EXPECT_EQ(s.g->FramesPerSecond, 60u);
}

TEST(FrameLoop, QuitDuringTheWaitEndsBeforeTheUpdate) {
    SimulatedLoop s;
    s.quitDuringWaitOfPass = 5;
    s.Run();
    EXPECT_EQ(s.titleUpdates, 4);
    EXPECT_EQ(s.waits.size(), 5u);
}

// The input is sampled once a pass, after its wait (also in passes that do
// not wait) and before its update, which gets that sample: a tap is seen
// by the update of its own pass only.
TEST(FrameLoop, EachPassSamplesItsInputOnceBeforeItsUpdate) {
    for (const uint16_t fastForward : {uint16_t{0}, uint16_t{1}}) {
        SimulatedLoop s;
        s.g->RunMode = RunDemo1;
        s.g->FastForward = fastForward;
        s.passLimit = 6;
        s.Run();
        EXPECT_EQ(s.samples, 6);
        EXPECT_EQ(s.samplesAtUpdate, (std::vector<int>{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(s.tapSeen, (std::vector<bool>{false, false, true, false, false, false}));
    }
    SimulatedLoop quit;
    quit.quitDuringWaitOfPass = 2;
    quit.Run();
    EXPECT_EQ(quit.samples, 1) << "a pass ended by its wait samples nothing";
}

TEST(FrameLoop, RoundsDrawOnlyWithoutFastForward) {
    SimulatedLoop s;
    s.g->RunMode = RunGame;
    s.passLimit = 10;
    s.Run();
    EXPECT_EQ(s.roundUpdates, 10);
    EXPECT_EQ(s.drawnPasses.size(), 10u);
}

TEST(FrameRate, CountsOverWindowsOfASecond) {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    FrameRateMeter m;
    g->FrameSkip = 3;
    for (uint32_t t = 0; t < 999; t += 10) CountPass(m, *g, 5000 + t);
    EXPECT_EQ(g->FramesPerSecond, 0u);
    CountPass(m, *g, 6000);  // 100 passes counted in the window
    EXPECT_EQ(g->FramesPerSecond, 33u);
}

TEST(ScreenLayout, ModesFromTheDesktopShape) {
    EXPECT_EQ(ChooseScreenMode(false, 1920, 1080), ScreenWindowed);
    EXPECT_EQ(ChooseScreenMode(true, 1024, 768), ScreenFull640);
    EXPECT_EQ(ChooseScreenMode(true, 1280, 1024), ScreenFull640);
    EXPECT_EQ(ChooseScreenMode(true, 1920, 1080), ScreenFull720);
    EXPECT_EQ(ChooseScreenMode(true, 1920, 1200), ScreenFull720);
    EXPECT_EQ(CanvasWidth(ScreenFull720), 720);
    EXPECT_EQ(PictureLeft(ScreenFull720), 40);
    EXPECT_EQ(PictureLeft(ScreenFull640), 0);
    EXPECT_EQ(WindowScale(0, 1904, 1016), 2);
    EXPECT_EQ(WindowScale(0, 1264, 960), 1);
    EXPECT_EQ(WindowScale(0, 2560, 1440 - 64), 2);
    EXPECT_EQ(WindowScale(0, 3840, 2160), 4);
    EXPECT_EQ(WindowScale(0, 300, 200), 1);
    EXPECT_EQ(WindowScale(3, 640, 480), 3);
}

}  // namespace
}  // namespace mervox
