// Seeking in a played-back round: after any seek, backwards or forwards,
// the whole state equals the state of a straight play to that frame, and
// the pre-pass's marks sit where the level rose and where chain links were
// made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "app/common/playback_round.h"
#include "app/viewer/seek_snapshots.h"
#include "game/simulation.h"
#include "long_round.h"
#include "save/input_log_file.h"

namespace mervox::testing {
namespace {

// Whole-state copies: made by memcpy so that padding bytes match too.
std::unique_ptr<GameState> CopyOf(const GameState& g) {
    auto c = std::make_unique<GameState>();
    std::memcpy(static_cast<void*>(c.get()), &g, sizeof g);
    return c;
}

bool SameBytes(const GameState& a, const GameState& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Plays `start` straight through, keeps copies at the target frames, then
// seeks to those frames in a shuffled order and compares whole states.
void CheckRandomSeeks(const GameState& start, int interval, int seeks, uint32_t seed) {
    RoundTimeline t;
    ASSERT_TRUE(MeasureRound(start, interval, t));
    ASSERT_GT(t.lastFrame, 2 * interval);
    ASSERT_EQ(t.snapshots.size(), static_cast<size_t>(t.lastFrame / interval + 1));

    std::mt19937 rng(seed);
    std::vector<int> targets = {0, 1, interval - 1, interval, interval + 1, t.lastFrame - 1, t.lastFrame};
    for (int k = 0; k < seeks; ++k) targets.push_back(static_cast<int>(rng() % (t.lastFrame + 1)));
    std::sort(targets.begin(), targets.end());
    targets.erase(std::unique(targets.begin(), targets.end()), targets.end());

    // Straight play with no keys held, as the viewer plays.
    std::vector<std::unique_ptr<GameState>> expected;
    auto g = CopyOf(start);
    const RoundHost& host = SilentHost();
    for (int target : targets) {
        while (g->RoundFrame < target) UpdateRound(*g, host, InputFrame{});
        expected.push_back(CopyOf(*g));
    }
    EXPECT_EQ(g->RoundFrame, t.lastFrame);
    EXPECT_EQ(g->RunMode, RunTitle);

    // Level-up marks: one for each level gained, at the update that gained it.
    int levelUps = 0;
    for (const TimelineMark& m : t.marks) levelUps += m.kind == MarkKind::LevelUp;
    EXPECT_EQ(levelUps, g->Level - start.Level);

    // Chain-link marks: on every update in which a block was drawn into a
    // link beyond the starting group (its pop-up begun then), unless the
    // level rose in it too.
    std::vector<int> links, linkMarks;
    for (auto p = CopyOf(start); p->RunMode != RunTitle;) {
        const int level = p->Level;
        UpdateRound(*p, host, InputFrame{});
        bool drawnIn = false;
        for (const auto& column : p->Board)
            for (const auto& cell : column)
                for (const BlockSlot& b : cell) drawnIn |= b.chainLevel >= 2 && b.popupTimer == 29;
        if (drawnIn && p->Level == level) links.push_back(p->RoundFrame);
    }
    for (const TimelineMark& m : t.marks)
        if (m.kind == MarkKind::ChainLink) linkMarks.push_back(m.frame);
    EXPECT_EQ(linkMarks, links);

    std::vector<size_t> order(targets.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::shuffle(order.begin(), order.end(), rng);
    auto seeker = CopyOf(start);
    for (size_t k : order) {
        const int played = SeekRound(t, *seeker, targets[k], host);
        EXPECT_LT(played, interval) << "seek to " << targets[k];
        ASSERT_TRUE(SameBytes(*seeker, *expected[k])) << "seek to frame " << targets[k];
    }
    // Past the end stops at the end; stepping one forward plays one update.
    SeekRound(t, *seeker, t.lastFrame + 500, host);
    EXPECT_TRUE(SameBytes(*seeker, *expected.back()));
    SeekRound(t, *seeker, targets[1] - 1, host);
    EXPECT_EQ(SeekRound(t, *seeker, targets[1], host), 1);
    EXPECT_TRUE(SameBytes(*seeker, *expected[1]));

    for (const TimelineMark& m : t.marks) {
        if (m.kind != MarkKind::LevelUp) continue;
        SeekRound(t, *seeker, m.frame - 1, host);
        const int before = seeker->Level;
        SeekRound(t, *seeker, m.frame, host);
        EXPECT_EQ(seeker->Level, before + 1) << "mark at " << m.frame;
        EXPECT_EQ(PreviousMark(t, m.frame + 1), m.frame);
        EXPECT_EQ(NextMark(t, m.frame - 1), m.frame);
    }
}

TEST(SeekSnapshots, SeeksAnywhereInALongKeyboardRecordingEqualStraightPlay) {
    // The keyboard round, recorded through the round's own path and read
    // back from the recording's text into a playback round.
    auto recorded = PlayLongRound(20);
    const std::string text = FormatInputLog(recorded->InputLog);
    auto start = std::make_unique<GameState>();
    StartRoundOutsideTitle(*start, RunGame, PlaybackOn);
    ASSERT_EQ(ParseInputLog(text, start->InputLog), recorded->InputLogIndex);
    CheckRandomSeeks(*start, kSnapshotInterval, 300, 1);
    // Another spacing, so that no seek lands by luck on a snapshot frame.
    CheckRandomSeeks(*start, 97, 150, 2);
}

TEST(SeekSnapshots, SeeksInRecordedRoundsEqualStraightPlay) {
    const std::string shipped = std::string(MERVOX_BINARY_DIR) + "/game/data/";
    // bot_round.dat: a keyboard round of 12 301 updates to level 10 played
    // by the demonstration bot (runMode 1, maxFrames 100000, lookahead 120,
    // seed 11), the longest round made so far.
    const std::string own = std::string(MERVOX_SOURCE_DIR) + "/tests/app/data/";
    const std::tuple<std::string, RunModeValue> recordings[] = {
        {shipped + "tuto.dat", RunTutorial}, {shipped + "demo1.dat", RunDemo1}, {own + "bot_round.dat", RunGame}};
    for (const auto& [path, mode] : recordings) {
        SCOPED_TRACE(path);
        auto start = std::make_unique<GameState>();
        ASSERT_TRUE(StartPlaybackRound(*start, mode, path));
        CheckRandomSeeks(*start, kSnapshotInterval, 200, 3);
    }
}

// A state whose every byte is noise, the recording included.
std::unique_ptr<GameState> NoiseState(uint32_t seed) {
    auto g = std::make_unique<GameState>();
    std::mt19937 rng(seed);
    auto* bytes = reinterpret_cast<unsigned char*>(g.get());
    for (size_t k = 0; k < sizeof(GameState); ++k) bytes[k] = static_cast<unsigned char>(rng());
    return g;
}

TEST(SeekSnapshots, ARestoreBringsBackEveryFieldAndLeavesTheRecording) {
    // Any field of the state, the last as much as the first, comes back
    // from a snapshot: states of noise differ in every field.
    const auto taken = NoiseState(11);
    RoundSnapshot s;
    TakeSnapshot(*taken, s);
    auto g = NoiseState(12);
    const auto before = CopyOf(*g);
    RestoreSnapshot(s, *g);
    auto expected = CopyOf(*taken);
    std::memcpy(expected->InputLog, before->InputLog, sizeof expected->InputLog);
    EXPECT_TRUE(SameBytes(*g, *expected));
    EXPECT_NE(g->KeysToRelease, before->KeysToRelease) << "the noise left the last field as it was";

    // A seek keeps the main loop's own fields and restores the rest.
    g = CopyOf(*before);
    RestoreSnapshotKeepingLoop(s, *g);
    EXPECT_EQ(g->FrameSkip, before->FrameSkip);
    EXPECT_EQ(g->ScreenMode, before->ScreenMode);
    EXPECT_EQ(g->FramesPerSecond, before->FramesPerSecond);
    EXPECT_EQ(g->QuitRequested, before->QuitRequested);
    EXPECT_EQ(g->FastForward, before->FastForward);
    EXPECT_EQ(g->FramePhase, before->FramePhase);
    g->FrameSkip = taken->FrameSkip;
    g->ScreenMode = taken->ScreenMode;
    g->FramesPerSecond = taken->FramesPerSecond;
    g->QuitRequested = taken->QuitRequested;
    g->FastForward = taken->FastForward;
    g->FramePhase = taken->FramePhase;
    EXPECT_TRUE(SameBytes(*g, *expected));
}

TEST(SeekSnapshots, MarksOnTheTimelineAndAnEmptyTimeline) {
    RoundTimeline t;
    t.marks = {{100, MarkKind::LevelUp}, {250, MarkKind::ChainLink}, {400, MarkKind::LevelUp}};
    EXPECT_EQ(PreviousMark(t, 100), -1);
    EXPECT_EQ(PreviousMark(t, 101), 100);
    EXPECT_EQ(PreviousMark(t, 400), 250);
    EXPECT_EQ(NextMark(t, 99), 100);
    EXPECT_EQ(NextMark(t, 250), 400);
    EXPECT_EQ(NextMark(t, 400), -1);
    // A timeline that was never measured seeks nowhere.
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOn);
    EXPECT_EQ(SeekRound(RoundTimeline{}, *g, 50, SilentHost()), 0);
    EXPECT_EQ(g->RoundFrame, 0);
}

}  // namespace
}  // namespace mervox::testing
