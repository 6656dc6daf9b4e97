// The viewer as a user drives it, on a platform with no window: keys held in
// given passes, the pictures presented kept. With the overlay hidden, the
// picture after every seek, step and speed change is the picture of a
// straight play to that frame.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/common/command_line.h"
#include "app/common/playback_round.h"
#include "app/viewer/watch_loop.h"
#include "app/viewer/watch_overlay.h"
#include "app/viewer/watch_round.h"
#include "game/simulation.h"
#include "render/scene_drawing.h"

namespace mervox::testing {
namespace {

const std::string kGameDir = std::string(MERVOX_BINARY_DIR) + "/game";
const std::string kDemo = kGameDir + "/data/demo1.dat";

struct ScriptedViewer {
    uint32_t clock = 1;
    int pass = 0;                        // pictures presented so far
    std::map<int, ControlAction> keys;   // the action held in a pass
    std::map<int, std::vector<uint32_t>> pictures;
    int quitAt = 0;
};

class ScriptedPlatform final : public ProgramPlatform {
public:
    explicit ScriptedPlatform(ScriptedViewer& v) : v_(v) {}
    uint32_t clockMs() const override { return v_.clock; }
    void pumpMessagesFor(int ms) const override { v_.clock += ms > 0 ? static_cast<uint32_t>(ms) : 1u; }
    ActionFrame sampleInput() const override {
        ActionFrame f;
        if (v_.pass >= v_.quitAt) f.hold(ControlAction::WatchLeave);
        auto it = v_.keys.find(v_.pass);
        if (it != v_.keys.end()) f.hold(it->second);
        return f;
    }
    bool readsPlayerActions() const override { return true; }
    void presentFrame(const uint32_t* frame) const override {
        v_.pictures[v_.pass].assign(frame, frame + kFrameWidth * kFrameHeight);
        v_.pass += 1;
    }

private:
    ScriptedViewer& v_;
};

// The picture of a straight play of the recording to `frame`.
std::vector<uint32_t> StraightPicture(const RenderResources& res, int frame) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, RunDemo1, kDemo);
    const RoundHost host;
    while (g->RoundFrame < frame && g->RunMode != RunTitle) UpdateRound(*g, host, InputFrame{});
    auto fb = std::make_unique<FrameBuffer>();
    DrawScene(*g, res, *fb);
    return std::vector<uint32_t>(fb->pixels, fb->pixels + kFrameWidth * kFrameHeight);
}

TEST(ReplayViewer, PicturesAfterSeeksStepsAndSpeedsEqualStraightPlay) {
    auto start = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*start, RunDemo1, kDemo));
    RoundTimeline t;
    ASSERT_TRUE(MeasureRound(*start, kSnapshotInterval, t));
    const int last = t.lastFrame;
    const int firstMark = NextMark(t, 0);
    ASSERT_GT(firstMark, 0);

    ScriptedViewer v;
    // Pass: key held in it; then the frame the pass shows.
    const std::vector<std::pair<ControlAction, int>> script = {
        {ControlAction::WatchOverlay, 1000},          // opened paused at 1000; overlay off
        {ControlAction::WatchForward5s, 1300},      // +5 s
        {ControlAction::WatchStepBack, 1299},      // one update back
        {ControlAction::WatchStepForward, 1300},     // one forward
        {ControlAction::WatchBack30s, 0},          // -30 s stops at the start
        {ControlAction::WatchToEnd, last},
        {ControlAction::WatchBack5s, last - 300},
        {ControlAction::WatchForward30s, last},         // +30 s stops at the end
        {ControlAction::WatchToStart, 0},
        {ControlAction::WatchNextMark, firstMark},
        {ControlAction::WatchPreviousMark, 0},        // no mark before the first: the start
        {ControlAction::WatchPlayPause, 1},         // playing at 1x: one update a pass
        // The pass between two presses plays on as well.
        {ControlAction::WatchFaster, 4},        // 2x from this pass on
        {ControlAction::WatchSlower, 7},         // 1x again
    };
    std::vector<int> expected;
    int pass = 0;
    for (const auto& [key, frame] : script) {
        v.keys[pass] = key;
        expected.push_back(frame);
        pass += 2;  // a pass with no key between presses
    }
    v.quitAt = pass;

    WatchRun run;
    run.baseDir = kGameDir;
    run.path = kDemo;
    run.mode = RunDemo1;
    run.at = 1000;
    ASSERT_EQ(RunWatchOn(ScriptedPlatform(v), WatchPointer(), run), 0);

    RenderResources res;
    LoadRenderResources(res, kGameDir);
    for (size_t k = 0; k < script.size(); ++k) {
        const int p = static_cast<int>(2 * k);
        ASSERT_TRUE(v.pictures.count(p));
        EXPECT_TRUE(v.pictures[p] == StraightPicture(res, expected[k]))
            << "pass " << p << ": key " << static_cast<int>(script[k].first) << ", frame " << expected[k];
    }
    ReleaseRenderResources(res);
}

struct TitleRoundWorld {
    bool holding = false;
    ControlAction held = ControlAction::WatchPlayPause;
    int effects = 0;
    int musicStops = 0;
};

class TitleRoundHost final : public RoundHost {
public:
    explicit TitleRoundHost(TitleRoundWorld& w) : w_(w) {}
    void writeEffect(int, bool) const override { w_.effects += 1; }
    void stopMusic() const override { w_.musicStops += 1; }

private:
    TitleRoundWorld& w_;
};

// The pass's actions: the one held, if any.
ActionFrame HeldAction(const TitleRoundWorld& w) {
    ActionFrame f;
    if (w.holding) f.hold(w.held);
    return f;
}

void Press(WatchSession& s, GameState& g, TitleRoundWorld& w, const RoundHost& h, ControlAction key) {
    w.holding = true;
    w.held = key;
    WatchRoundPass(s, g, h, HeldAction(w));
    w.holding = false;
}

TEST(ReplayViewer, TitlePlaybackRoundsPlayAsBeforeUntilAViewerKeyAndEndAsAlways) {
    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*g, RunDemo1, kDemo));
    g->BGMMODE = SoundOn;  // as the title starts it with music
    auto plain = std::make_unique<GameState>();
    std::memcpy(static_cast<void*>(plain.get()), g.get(), sizeof *g);
    TitleRoundWorld w, wPlain;
    const TitleRoundHost h(w), hPlain(wPlain);

    // No viewer key: one update a pass, the same state and the same effects.
    WatchSession s;
    for (int k = 0; k < 900; ++k) {
        WatchRoundPass(s, *g, h, HeldAction(w));
        UpdateRound(*plain, hPlain, InputFrame{});
    }
    EXPECT_EQ(std::memcmp(g.get(), plain.get(), sizeof *g), 0);
    EXPECT_EQ(w.effects, wPlain.effects);
    EXPECT_GT(w.effects, 0);
    EXPECT_FALSE(s.overlay);

    // Paused: nothing moves; the overlay came with the key.
    Press(s, *g, w, h, ControlAction::WatchPlayPause);
    const int pausedAt = g->RoundFrame;
    for (int k = 0; k < 30; ++k) WatchRoundPass(s, *g, h, HeldAction(w));
    EXPECT_EQ(g->RoundFrame, pausedAt);
    EXPECT_TRUE(s.overlay);
    // Back to the start, still paused: not taken for a new round.
    Press(s, *g, w, h, ControlAction::WatchToStart);
    for (int k = 0; k < 5; ++k) WatchRoundPass(s, *g, h, HeldAction(w));
    EXPECT_EQ(g->RoundFrame, 0);
    EXPECT_TRUE(s.paused);

    // At 2x two updates a pass and no effect heard, where normal speed hears some.
    Press(s, *g, w, h, ControlAction::WatchPlayPause);
    Press(s, *g, w, h, ControlAction::WatchFaster);
    const int fastFrom = g->RoundFrame;
    const int effectsBefore = w.effects;
    for (int k = 0; k < 600; ++k) WatchRoundPass(s, *g, h, HeldAction(w));
    EXPECT_EQ(g->RoundFrame, fastFrom + 2 * 600);
    EXPECT_EQ(w.effects, effectsBefore);
    wPlain.effects = 0;
    while (plain->RoundFrame < g->RoundFrame) UpdateRound(*plain, hPlain, InputFrame{});
    EXPECT_GT(wPlain.effects, 0);

    // A seek to the end stops one update short; the next pass ends the
    // round with the music stopped, as a round always ends.
    Press(s, *g, w, h, ControlAction::WatchSlower);
    w.holding = true;
    w.held = ControlAction::WatchToEnd;
    s.paused = true;
    WatchRoundPass(s, *g, h, HeldAction(w));
    w.holding = false;
    EXPECT_EQ(g->RoundFrame, s.timeline.lastFrame - 1);
    EXPECT_NE(g->RunMode, RunTitle);
    EXPECT_EQ(w.musicStops, 0);
    Press(s, *g, w, h, ControlAction::WatchPlayPause);
    EXPECT_EQ(g->RunMode, RunTitle);
    EXPECT_EQ(w.musicStops, 1);
}

TEST(ReplayViewer, AWatchedRoundHearsEffectsAtNormalSpeedOnlyAndTheMusicPlaysToTheEnd) {
    WatchSession s;
    std::string error;
    ASSERT_TRUE(OpenWatch(s, kDemo, RunDemo1, -1, error, SoundOn));
    TitleRoundWorld w;
    const TitleRoundHost heard(w);
    s.sound = &heard;
    for (int k = 0; k < 900; ++k) AdvanceWatch(s);
    EXPECT_GT(w.effects, 0);
    w.effects = 0;
    ApplyWatchCommand(s, WatchCommand::Faster);
    for (int k = 0; k < 300; ++k) AdvanceWatch(s);
    ApplyWatchCommand(s, WatchCommand::Back30s);
    ApplyWatchCommand(s, WatchCommand::Forward30s);
    EXPECT_EQ(w.effects, 0);
    ApplyWatchCommand(s, WatchCommand::Slower);
    while (!s.paused) AdvanceWatch(s);
    EXPECT_EQ(WatchFrame(s), WatchLastFrame(s));
    EXPECT_EQ(s.g->RunMode, RunTitle);
    EXPECT_EQ(w.musicStops, 0);

    // With the effects turned off in config.txt the round stays silent,
    // also after seeks, which go back to snapshots taken while measuring.
    WatchSession quiet;
    ASSERT_TRUE(OpenWatch(quiet, kDemo, RunDemo1, -1, error, SoundOn, SoundOff));
    TitleRoundWorld q;
    const TitleRoundHost quietHeard(q);
    quiet.sound = &quietHeard;
    for (int k = 0; k < 900; ++k) AdvanceWatch(quiet);
    ApplyWatchCommand(quiet, WatchCommand::Back30s);
    for (int k = 0; k < 900; ++k) AdvanceWatch(quiet);
    EXPECT_EQ(q.effects, 0);
    EXPECT_GT(WatchFrame(quiet), 0);
}

TEST(ReplayViewer, ARecordingThatCannotBeReadFailsBeforeAnyPicture) {
    ScriptedViewer v;
    WatchRun run;
    run.baseDir = kGameDir;
    run.path = kGameDir + "/data/no-such-recording.dat";
    EXPECT_EQ(RunWatchOn(ScriptedPlatform(v), WatchPointer(), run), 1);
    EXPECT_EQ(v.pass, 0);
}

TEST(ReplayViewer, CommandLineTakesWatchAndAt) {
    const char* good[] = {"mervox", "--watch", "x.dat", "--mode", "4", "--at", "1200"};
    CommandLine c = ParseCommandLine(7, const_cast<char**>(good));
    EXPECT_EQ(c.error, "");
    EXPECT_EQ(c.watchPath, "x.dat");
    EXPECT_EQ(c.at, 1200);
    const char* noWatch[] = {"mervox", "--at", "5"};
    EXPECT_NE(ParseCommandLine(3, const_cast<char**>(noWatch)).error, "");
    const char* negative[] = {"mervox", "--watch", "x.dat", "--at", "-3"};
    EXPECT_NE(ParseCommandLine(5, const_cast<char**>(negative)).error, "");
}

}  // namespace
}  // namespace mervox::testing
