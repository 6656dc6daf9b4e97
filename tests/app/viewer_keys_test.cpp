// The viewer's keys under the one rule for a held key: a press acts once
// however short, a held seek or step repeats at its rate after the delay,
// a held rewind at its slower one, and a key that does not repeat never
// does. Also the paced passes both loops run on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/common/frame_loop.h"
#include "app/viewer/viewer_keys.h"
#include "app/viewer/watch_session.h"
#include "save/controls_file.h"

namespace mervox::testing {
namespace {

const std::string kDemo = std::string(MERVOX_BINARY_DIR) + "/game/data/demo1.dat";

// The passes (from 1) in which a key held for `passes` passes fires.
std::vector<int> FiringPasses(int passes, int repeatEvery) {
    std::vector<int> fired;
    int held = 0;
    for (int pass = 1; pass <= passes; ++pass)
        if (HeldKeyFires(held, true, false, repeatEvery)) fired.push_back(pass);
    return fired;
}

TEST(ViewerKeys, AHeldKeyFiresOnItsPressThenRepeatsAfterTheDelayAtItsRate) {
    const int d = kRepeatDelay;
    EXPECT_EQ(FiringPasses(d + 10, 0), std::vector<int>{1}) << "a key that does not repeat";
    EXPECT_EQ(FiringPasses(d + 10, 3), (std::vector<int>{1, d + 3, d + 6, d + 9}));
    EXPECT_EQ(FiringPasses(d + 12, 6), (std::vector<int>{1, d + 6, d + 12}));

    // Let go, the count starts again; a tap again within a held pass is a
    // new press.
    int held = 0;
    EXPECT_TRUE(HeldKeyFires(held, true, false, 3));
    EXPECT_FALSE(HeldKeyFires(held, true, false, 3));
    EXPECT_FALSE(HeldKeyFires(held, false, false, 3));
    EXPECT_EQ(held, 0);
    EXPECT_TRUE(HeldKeyFires(held, true, false, 3));
    EXPECT_TRUE(HeldKeyFires(held, true, true, 3));
}

// A paused watch of demo1 at frame 1800.
std::unique_ptr<WatchSession> PausedWatch() {
    auto s = std::make_unique<WatchSession>();
    std::string error;
    if (!OpenWatch(*s, kDemo, RunDemo1, 1800, error)) ADD_FAILURE() << error;
    return s;
}

ActionFrame Holding(ControlAction a) {
    ActionFrame f;
    f.hold(a);
    return f;
}

TEST(ViewerKeys, TapsStepOnceEachAndAHeldStepRepeatsAtTheWatchRate) {
    auto s = PausedWatch();
    ASSERT_TRUE(s->paused);
    // Five taps, each pressed and let go within one pass.
    ActionFrame tap;
    tap.tap(ControlAction::WatchStepForward);
    for (int k = 0; k < 5; ++k) {
        ReadWatchKeys(*s, tap);
        ReadWatchKeys(*s, ActionFrame{});
    }
    EXPECT_EQ(WatchFrame(*s), 1805);
    // Held 40 passes: the press, then every kWatchRepeatEvery passes after
    // the delay.
    const int passes = 40;
    for (int k = 0; k < passes; ++k) ReadWatchKeys(*s, Holding(ControlAction::WatchStepForward));
    EXPECT_EQ(WatchFrame(*s), 1805 + 1 + (passes - kRepeatDelay) / kWatchRepeatEvery);
    // Play and pause does not repeat.
    for (int k = 0; k < passes; ++k) ReadWatchKeys(*s, Holding(ControlAction::WatchPlayPause));
    EXPECT_FALSE(s->paused);
}

// Presses faster than the passes: the steps and seeks answer each press
// counted in the pass (up to the count's ceiling), the toggles the pass's
// presses once, and a held key's repeats are not multiplied by them.
TEST(ViewerKeys, EveryPressOfAStepOrSeekInOnePassCounts) {
    ActionFrame many;
    many.tap(ControlAction::WatchStepBack, 2);
    many.tap(ControlAction::WatchStepBack);
    EXPECT_EQ(many.tapCount(ControlAction::WatchStepBack), 3);
    EXPECT_TRUE(many.pressedAgain(ControlAction::WatchStepBack)) << "tapped means at least one";
    EXPECT_EQ(many.tapCount(ControlAction::WatchStepForward), 0);
    many.tap(ControlAction::WatchStepForward, 0);
    EXPECT_FALSE(many.pressedAgain(ControlAction::WatchStepForward)) << "no press is no tap";
    many.tap(ControlAction::WatchStepForward, 1000);
    many.tap(ControlAction::WatchStepForward, 1000);
    EXPECT_EQ(many.tapCount(ControlAction::WatchStepForward), kMaxTapsCounted) << "the count saturates";

    auto s = PausedWatch();
    ActionFrame steps;
    steps.tap(ControlAction::WatchStepForward, 3);
    ReadWatchKeys(*s, steps);
    EXPECT_EQ(WatchFrame(*s), 1803);
    ActionFrame back;
    back.tap(ControlAction::WatchStepBack, 2);
    ReadWatchKeys(*s, back);
    EXPECT_EQ(WatchFrame(*s), 1801);
    ActionFrame seeks;
    seeks.tap(ControlAction::WatchForward5s, 2);
    ReadWatchKeys(*s, seeks);
    EXPECT_EQ(WatchFrame(*s), 1801 + 2 * 300);

    // Play and pause tapped twice in a pass answers once, as before.
    ActionFrame toggles;
    toggles.tap(ControlAction::WatchPlayPause, 2);
    ReadWatchKeys(*s, toggles);
    EXPECT_FALSE(s->paused);
    ReadWatchKeys(*s, ActionFrame{});
    ReadWatchKeys(*s, toggles);
    EXPECT_TRUE(s->paused);

    // Held, let go and pressed twice more within one pass: two steps; held
    // on, the repeats come at their own rate.
    const int at = WatchFrame(*s);
    ReadWatchKeys(*s, Holding(ControlAction::WatchStepForward));
    ActionFrame again = Holding(ControlAction::WatchStepForward);
    again.tap(ControlAction::WatchStepForward, 2);
    ReadWatchKeys(*s, again);
    EXPECT_EQ(WatchFrame(*s), at + 3);
    for (int k = 0; k < kRepeatDelay + kWatchRepeatEvery - 1; ++k)
        ReadWatchKeys(*s, Holding(ControlAction::WatchStepForward));
    EXPECT_EQ(WatchFrame(*s), at + 4);
}

TEST(ViewerKeys, PracticeKeysTakeOverOnceAndAHeldRewindRepeatsAtItsOwnRate) {
    auto s = PausedWatch();
    // The take-over key held on: one takeover, and nothing more once the
    // round is the player's.
    for (int k = 0; k < 30; ++k) ReadPracticeKeys(*s, Holding(ControlAction::PracticeTakeOver));
    ASSERT_EQ(s->mode, ViewerMode::Practising);
    EXPECT_TRUE(s->practice.on);
    EXPECT_EQ(s->practice.branchFrame, 1800);
    EXPECT_TRUE(s->rewindMs.empty());
    // A rewind held: the press, then every kRewindRepeatEvery passes.
    const int passes = kRepeatDelay + 3 * kRewindRepeatEvery;
    for (int k = 0; k < passes; ++k) ReadPracticeKeys(*s, Holding(ControlAction::PracticeBack5s));
    EXPECT_EQ(s->rewindMs.size(), 4u);
    // Back to the takeover does not repeat, nor answer twice for two
    // presses in a pass; two presses of back 5 s in a pass are two rewinds.
    for (int k = 0; k < passes; ++k) ReadPracticeKeys(*s, Holding(ControlAction::PracticeToTakeOver));
    EXPECT_EQ(s->rewindMs.size(), 5u);
    ActionFrame twice;
    twice.tap(ControlAction::PracticeToTakeOver, 2);
    ReadPracticeKeys(*s, twice);
    EXPECT_EQ(s->rewindMs.size(), 6u);
    ActionFrame rewinds;
    rewinds.tap(ControlAction::PracticeBack5s, 2);
    ReadPracticeKeys(*s, rewinds);
    EXPECT_EQ(s->rewindMs.size(), 8u);
}

TEST(ViewerKeys, RewindsHeldWhileWatchingCountOnlyFromTheTakeover) {
    auto s = PausedWatch();
    // Back 5 s held while watching does nothing; taken over in the same
    // pass as it is held, it fires in that pass and counts from there.
    for (int k = 0; k < 10; ++k) ReadPracticeKeys(*s, Holding(ControlAction::PracticeBack5s));
    EXPECT_TRUE(s->rewindMs.empty());
    ActionFrame both = Holding(ControlAction::PracticeBack5s);
    both.hold(ControlAction::PracticeTakeOver);
    ReadPracticeKeys(*s, both);
    ASSERT_EQ(s->mode, ViewerMode::Practising);
    EXPECT_EQ(s->rewindMs.size(), 1u);
    for (int k = 1; k < kRepeatDelay; ++k) ReadPracticeKeys(*s, Holding(ControlAction::PracticeBack5s));
    EXPECT_EQ(s->rewindMs.size(), 1u);
}

// Passes on a clock that waiting moves on, ending after a given pass.
struct CountedPasses final : PassHooks {
    uint32_t clock = 100;
    int passes = 0;
    int lastPass = 3;
    bool wait = true;
    std::vector<int> asked;  // the waits asked for
    std::vector<uint32_t> waitEnds;
    uint32_t clockMs() override { return clock; }
    void pumpMessagesFor(int ms) override {
        asked.push_back(ms);
        clock += ms > 0 ? static_cast<uint32_t>(ms) : 1u;
    }
    bool quitting() const override { return passes >= lastPass; }
    bool waits() const override { return wait; }
    void pass(const ActionFrame& /*in*/, uint32_t waitEnd) override {
        waitEnds.push_back(waitEnd);
        passes += 1;
        clock += 5;  // the pass's work
    }
};

TEST(PacedPasses, EachPassWaitsItsBudgetLessItsWorkAndTheLoopEndsWhenAsked) {
    CountedPasses h;
    RunPacedPasses(h, h.clock);
    EXPECT_EQ(h.passes, 3);
    EXPECT_EQ(h.asked, (std::vector<int>{17, 12, 11})) << "17, 17, 16 less the 5 ms of work before";
    EXPECT_EQ(h.waitEnds, (std::vector<uint32_t>{117, 134, 150}));

    CountedPasses fast;
    fast.wait = false;  // a fast-forwarded playback: passes back to back
    RunPacedPasses(fast, fast.clock);
    EXPECT_EQ(fast.passes, 3);
    EXPECT_TRUE(fast.asked.empty());

    CountedPasses none;
    none.lastPass = 0;
    RunPacedPasses(none, none.clock);
    EXPECT_EQ(none.passes, 0);
    EXPECT_TRUE(none.asked.empty());
}

}  // namespace
}  // namespace mervox::testing
