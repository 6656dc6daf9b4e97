// Practice rounds taken over from the shipped recordings at moments where
// much is in flight (the countdown's end, a chain, a kicked block, a
// level-up), played on with scripted keys and rewound: the recording saved
// replays headless to the round that was played, update for update.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/common/playback_round.h"
#include "app/viewer/practice_round.h"
#include "app/viewer/watch_loop.h"
#include "app/viewer/watch_round.h"
#include "app/viewer/watch_overlay.h"
#include "app/headless/round_trace.h"
#include "app/viewer/seek_snapshots.h"
#include "game/key_bits.h"
#include "game/simulation.h"
#include "render/scene_drawing.h"
#include "support/effect_notes.h"

namespace mervox::testing {
namespace {

namespace fs = std::filesystem;

const std::string kGameDir = std::string(MERVOX_BINARY_DIR) + "/game";

struct Player {
    int32_t keys = 0;
    std::vector<int> effects;
};


std::string Line(const GameState& g, const std::vector<int>& effects) {
    std::string s;
    AppendTraceLine(g, effects, s);
    return s;
}

// The first frame after `after` at which a block of the played-back round
// is as `busy` asks.
template <typename Busy>
int FirstFrameWith(const std::string& path, RunModeValue mode, int after, Busy busy) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, mode, path);
    const RoundHost none;
    while (g->RunMode != RunTitle) {
        UpdateRound(*g, none, InputFrame{});
        if (g->RoundFrame <= after) continue;
        for (const auto& column : g->Board)
            for (const auto& cell : column)
                for (const BlockSlot& b : cell)
                    if (busy(b)) return g->RoundFrame;
    }
    return -1;
}

// Takes over at `branch`, plays scripted keys with two rewinds until the
// round ends, saves, and replays the file.
void PracticeAndReplay(const std::string& path, RunModeValue watchedMode, int branch, uint32_t seed) {
    SCOPED_TRACE(path + " from frame " + std::to_string(branch));
    const fs::path dir = fs::temp_directory_path() / ("mervox_practice_" + std::to_string(seed));
    fs::remove_all(dir);
    fs::create_directories(dir);

    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*g, watchedMode, path));
    const uint32_t scoresBefore[3] = {g->HighScores[0], g->HighScores[1], g->HighScores[2]};
    Player player;
    const EffectNotes host(player.effects);
    std::map<int, std::string> played;  // frame: the state after its update
    while (g->RoundFrame < branch) {
        player.effects.clear();
        UpdateRound(*g, host, InputFrame{});
        played[g->RoundFrame] = Line(*g, player.effects);
    }
    PracticeRound p;
    ASSERT_TRUE(TakeOver(p, *g, path));
    EXPECT_EQ(p.mode, PracticeMode(watchedMode));

    std::mt19937 rng(seed);
    int nextChange = 0, updates = 0, rewinds = 0;
    while (g->RunMode != RunTitle) {
        if (updates == nextChange) {
            player.keys = static_cast<int32_t>(rng() & 0xFF);
            if (rng() % 3 == 0) player.keys &= kArrowBits;
            nextChange += 5 + static_cast<int>(rng() % 40);
        }
        player.effects.clear();
        PracticeUpdate(p, *g, host, FrameHoldingBits(player.keys));
        ++updates;
        if (g->RunMode != RunTitle) played[g->RoundFrame] = Line(*g, player.effects);
        // Two rewinds: 5 s back after 400 updates, to the takeover after 900.
        if (updates == 400 || updates == 900) {
            const int before = g->RoundFrame;
            const int replayed = updates == 400 ? PracticeRewind5s(p, *g) : PracticeBackToBranch(p, *g);
            ++rewinds;
            EXPECT_LT(replayed, kSnapshotInterval);
            EXPECT_EQ(g->RoundFrame, updates == 400 ? std::max(before - 300, branch) : branch);
            played.erase(played.upper_bound(g->RoundFrame), played.end());
        }
    }
    EXPECT_EQ(rewinds, 2);
    const int lastFrame = g->RoundFrame;
    std::string error;
    const std::string saved = EndPractice(p, *g, dir.string(), error);
    ASSERT_FALSE(saved.empty()) << error;
    EXPECT_EQ(fs::path(saved).parent_path(), dir / "practice");
    EXPECT_EQ(fs::path(saved).filename().string().rfind(fs::path(path).stem().string() + "-" +
                                                            std::to_string(branch) + "-", 0), 0u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(g->HighScores[k], scoresBefore[k]);
    EXPECT_FALSE(fs::exists(dir / "data")) << "no high scores, no replay.dat";

    // The file plays by default in the mode the practice round played in,
    // and gives every update of it.
    ASSERT_EQ(DefaultModeFor(saved), p.mode);
    auto r = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*r, DefaultModeFor(saved), saved));
    size_t compared = 0;
    while (r->RunMode != RunTitle) {
        player.effects.clear();
        UpdateRound(*r, host, InputFrame{});
        if (r->RunMode == RunTitle) break;
        auto it = played.find(r->RoundFrame);
        ASSERT_NE(it, played.end()) << "frame " << r->RoundFrame;
        ASSERT_EQ(Line(*r, player.effects), it->second) << "frame " << r->RoundFrame;
        ++compared;
    }
    EXPECT_EQ(r->RoundFrame, lastFrame);
    EXPECT_EQ(compared, played.size());
    fs::remove_all(dir);
}

TEST(PracticeRound, TakenOverAnywhereItsRecordingReplaysToTheRoundPlayed) {
    const std::string demo = kGameDir + "/data/demo1.dat";
    const std::string tuto = kGameDir + "/data/tuto.dat";
    auto start = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*start, RunDemo1, demo));
    RoundTimeline t;
    ASSERT_TRUE(MeasureRound(*start, kSnapshotInterval, t));
    int levelUp = -1;
    for (const TimelineMark& m : t.marks)
        if (m.kind == MarkKind::LevelUp && levelUp < 0 && m.frame > 2000) levelUp = m.frame;
    ASSERT_GT(levelUp, 0);
    // A group half vanished, its chain still open; a kicked block sliding.
    const int chain = FirstFrameWith(tuto, RunTutorial, 600, [](const BlockSlot& b) { return b.vanishTimer > 0; });
    ASSERT_GT(chain, 0);
    const int kick = FirstFrameWith(demo, RunDemo1, 1500,
                                    [](const BlockSlot& b) { return b.slideX != 0.0f || b.slideZ != 0.0f; });
    ASSERT_GT(kick, 0);

    PracticeAndReplay(demo, RunDemo1, 181, 1);  // the first update of the clock
    PracticeAndReplay(tuto, RunTutorial, chain + 10, 2);
    PracticeAndReplay(demo, RunDemo1, kick, 3);
    PracticeAndReplay(demo, RunDemo1, levelUp, 4);
    // After the tutorial's first level-up only its own mode replays it.
    PracticeAndReplay(tuto, RunTutorial, 2000, 5);
}

// The viewer's window loop on a platform with no window: keys held in
// given passes through the platform's key hooks, the pictures presented
// kept.
struct ScriptedPlayer {
    uint32_t clock = 1;
    int pass = 0;
    std::map<int, int32_t> roundKeys;  // from a pass on: the round keys held
    std::map<int, ControlAction> pressed;  // a viewer or practice key held in a pass
    int leaveAt = 1 << 30;
    std::vector<uint32_t> last;  // the last picture presented
};


int32_t RoundKeysNow(const ScriptedPlayer& v) {
    auto it = v.roundKeys.upper_bound(v.pass);
    return it == v.roundKeys.begin() ? 0 : std::prev(it)->second;
}

class ScriptedPlatform final : public ProgramPlatform {
public:
    explicit ScriptedPlatform(ScriptedPlayer& v) : v_(v) {}
    uint32_t clockMs() const override { return v_.clock; }
    void pumpMessagesFor(int ms) const override { v_.clock += ms > 0 ? static_cast<uint32_t>(ms) : 1u; }
    ActionFrame sampleInput() const override {
        const int32_t keys = RoundKeysNow(v_);
        ActionFrame f = ActionFrameOf(FrameHoldingBits(keys));
        if (v_.pass >= v_.leaveAt) f.hold(ControlAction::WatchLeave);
        // The arrows seek while watching.
        if (KeyBitsHold(keys, HostKey::Right)) f.hold(ControlAction::WatchForward5s);
        auto it = v_.pressed.find(v_.pass);
        if (it != v_.pressed.end()) f.hold(it->second);
        return f;
    }
    bool readsPlayerActions() const override { return true; }
    void presentFrame(const uint32_t* frame) const override {
        v_.last.assign(frame, frame + kFrameWidth * kFrameHeight);
        v_.pass += 1;
    }

private:
    ScriptedPlayer& v_;
};

// --watch of demo1 opened paused at 1800, in `dir`, with the scripted
// player's keys; what it said on stdout lands in `note`.
int WatchDemo1From1800(const fs::path& dir, ScriptedPlayer& v, std::string& note) {
    WatchRun run;
    run.baseDir = dir.string();
    run.path = kGameDir + "/data/demo1.dat";
    run.mode = RunDemo1;
    run.at = 1800;
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int status = RunWatchOn(ScriptedPlatform(v), WatchPointer(), run);
    ::testing::internal::GetCapturedStderr();
    note = ::testing::internal::GetCapturedStdout();
    return status;
}

TEST(PracticeRound, TheViewerTakesOverRewindsAndSavesWhatItShowedOnLeaving) {
    const fs::path dir = fs::temp_directory_path() / "mervox_practice_viewer";
    fs::remove_all(dir);
    fs::create_directories(dir);
    ScriptedPlayer v;
    v.roundKeys = {{1, KeyRight}, {40, KeyUp | KeyKick}, {41, KeyUp}, {90, 0}, {130, KeyLeft | KeyJump}, {200, 0}};
    // Opened paused at 1800 and taken over there (the arrows seek until
    // then, and play after); 5 s back from 2200, back to
    // the takeover from 2000, left at 1900.
    v.pressed = {{0, ControlAction::PracticeTakeOver},
                 {400, ControlAction::PracticeBack5s},
                 {500, ControlAction::PracticeToTakeOver}};
    v.leaveAt = 600;
    std::string note;
    ASSERT_EQ(WatchDemo1From1800(dir, v, note), 0);
    EXPECT_NE(note.find("ended at frame 1900"), std::string::npos) << note;
    EXPECT_NE(note.find("2 rewinds"), std::string::npos) << note;

    std::vector<fs::path> saved;
    for (const auto& e : fs::directory_iterator(dir / "practice")) saved.push_back(e.path());
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].filename().string().rfind("demo1-1800-", 0), 0u);
    EXPECT_NE(note.find(saved[0].filename().string()), std::string::npos) << note;
    EXPECT_FALSE(fs::exists(dir / "data")) << "no high scores, no replay.dat";

    // The recording played to the last frame shown gives the picture shown,
    // above the overlay (the scene alone: the folder has no sprite sheets,
    // and the labels of a played-back round are not those of a played one).
    auto r = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*r, DefaultModeFor(saved[0].string()), saved[0].string()));
    const RoundHost none;
    while (r->RoundFrame < 1900) UpdateRound(*r, none, InputFrame{});
    RenderResources res;
    ::testing::internal::CaptureStderr();
    LoadRenderResources(res, dir.string());
    ::testing::internal::GetCapturedStderr();
    auto fb = std::make_unique<FrameBuffer>();
    DrawScene(*r, res, *fb);
    ReleaseRenderResources(res);
    constexpr int kAboveOverlay = kWatchBandTop * kFrameWidth;
    ASSERT_EQ(v.last.size(), static_cast<size_t>(kFrameWidth * kFrameHeight));
    EXPECT_TRUE(std::equal(v.last.begin(), v.last.begin() + kAboveOverlay, fb->pixels));
    EXPECT_EQ(r->KeysNow, 0);
    fs::remove_all(dir);
}

// The practice round's own Escape leaves it in --watch as in the game's
// viewer, whatever key leaves the viewer: the round as it stands is saved.
TEST(PracticeRound, EscapeLeavesAPracticeRoundInWatchAsInTheGame) {
    const fs::path dir = fs::temp_directory_path() / "mervox_practice_escape";
    fs::remove_all(dir);
    fs::create_directories(dir);
    ScriptedPlayer v;
    v.pressed = {{0, ControlAction::PracticeTakeOver}, {100, ControlAction::Escape}};
    std::string note;
    const int status = WatchDemo1From1800(dir, v, note);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(v.pass, 100) << "the pass that left drew nothing";
    EXPECT_NE(note.find("ended at frame 1900"), std::string::npos) << note;
    EXPECT_TRUE(fs::exists(dir / "practice"));
    fs::remove_all(dir);
}

struct TitlePlayer {
    int pass = 0;
    int takeOverAt = 0, leaveAt = 0;
};

TEST(PracticeRound, ATitlePlaybackRoundTakenOverLeavesForTheTitleWithItsScoresUntouched) {
    const fs::path dir = fs::temp_directory_path() / "mervox_practice_title";
    fs::remove_all(dir);
    fs::create_directories(dir);
    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*g, RunDemo2, kGameDir + "/data/demo2.dat"));
    const uint32_t table[3] = {9, 5, 0};  // a practice round scores more than the third
    std::copy(std::begin(table), std::end(table), std::begin(g->HighScores));
    TitlePlayer t;
    t.takeOverAt = 1200;
    t.leaveAt = 1500;
    // The program's host, which would save: the practice round must not.
    struct SavingHost final : RoundHost {
        void saveScoresAndConfig() const override { ADD_FAILURE() << "a practice round saved the high scores"; }
        void saveReplay() const override { ADD_FAILURE() << "a practice round saved the replay"; }
    } host;
    // The pass's keys: the take-over key once, the round keys after it,
    // Escape to leave.
    auto keys = [](const TitlePlayer& t) {
        ActionFrame f;
        if (t.pass == t.takeOverAt) f.hold(ControlAction::PracticeTakeOver);
        if (t.pass > t.takeOverAt) f = ActionFrameOf(FrameHoldingBits((t.pass / 30) % 2 ? KeyUp | KeyKick : KeyRight));
        if (t.pass == t.leaveAt) f.hold(ControlAction::Escape);
        return f;
    };
    WatchSession s;
    s.baseDir = dir.string();
    ::testing::internal::CaptureStdout();
    for (; g->RunMode != RunTitle && t.pass < 3000; ++t.pass) WatchRoundPass(s, *g, host, keys(t));
    const std::string note = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(t.pass, 1501);
    EXPECT_EQ(g->RunMode, RunTitle);
    EXPECT_EQ(g->FadeLevel, 80);
    EXPECT_EQ(g->KeysToRelease, HostKeyBit(HostKey::Escape)) << "the title waits for Escape to be let go";
    EXPECT_GT(g->Score, table[2]);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(g->HighScores[k], table[k]);
    EXPECT_NE(note.find("practice/demo2-1200-"), std::string::npos) << note;
    EXPECT_EQ(s.mode, ViewerMode::Watching);
    fs::remove_all(dir);
}

TEST(PracticeRound, ARoundThatIsEndingCannotBeTakenOver) {
    auto g = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*g, RunDemo1, kGameDir + "/data/demo1.dat"));
    const RoundHost none;
    while (g->TimeLeft > 0) UpdateRound(*g, none, InputFrame{});  // the demonstration's own end at frame 5400
    PracticeRound p;
    EXPECT_FALSE(TakeOver(p, *g, "demo1.dat"));
    EXPECT_FALSE(p.on);
    EXPECT_EQ(g->Playback, PlaybackOn);
}

}  // namespace
}  // namespace mervox::testing
