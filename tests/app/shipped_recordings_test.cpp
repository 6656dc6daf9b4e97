// The shipped tutorial and demonstrations, played back as the attract cycle
// plays them: each tutorial caption's point happens while the caption is
// shown, and the demonstrations show the whole game.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/common/playback_round.h"
#include "game/simulation.h"
#include "tools/recordings/round_events.h"

namespace mervox::testing {
namespace {

constexpr const char* kRegenerate =
    "\nThe recordings no longer fit the game: make them again from the source folder with "
    "`build/tools/recordings/mervox_recordings .` (writes data/tuto.dat, demo1.dat, demo2.dat).";

struct Played {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    RoundEvents ev;
    int endFrame = 0;
};

Played Play(const char* file, RunModeValue mode) {
    Played p;
    const std::string path = std::string(MERVOX_SOURCE_DIR) + "/data/" + file;
    EXPECT_TRUE(StartPlaybackRound(*p.g, mode, path)) << path;
    const RoundHost host;
    while (p.g->RunMode != RunTitle && p.g->RoundFrame < 20000) {
        UpdateRound(*p.g, host, InputFrame{});
        p.ev.Observe(*p.g);
    }
    p.endFrame = p.g->RoundFrame;
    return p;
}

// A block kicked along row 3 from cell 1, with or without a block in its
// way at cell 5: the events read how far it slid and what stopped it.
RoundEvents KickAlongRow(bool obstacle) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, RunGame, "/nonexistent.dat");
    const RoundHost host;
    while (g->ReadyCountdown > 0) UpdateRound(*g, host, InputFrame{});
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                BlockSlot s{};
                s.height = static_cast<float>(l * 100 - 100);
                g->Board[i][j][l] = s;
            }
    auto place = [&](int i, int colour) {
        BlockSlot& s = g->Board[i][3][0];
        s.state = Solid;
        s.colour = colour;
        s.height = 0.0f;
    };
    place(1, 0);
    if (obstacle) place(5, 1);
    g->PlayerX = 48.0f;
    g->PlayerZ = 348.0f;
    g->PushIntent = IntentPlusX;  // leaning on the block towards +x
    g->InputLog[0] = InputRecord{g->RoundFrame + 1, KeyKick};
    g->InputLog[1] = InputRecord{g->RoundFrame + 3, 0};
    g->InputLogIndex = 0;
    RoundEvents ev;
    for (int k = 0; k < 120; ++k) {
        UpdateRound(*g, host, InputFrame{});
        ev.Observe(*g);
    }
    return ev;
}

TEST(ShippedRecordings, KicksAreReadWithTheirSlideAndWhatStoppedThem) {
    const RoundEvents open = KickAlongRow(false);
    ASSERT_EQ(open.kicks.size(), 1u);
    EXPECT_EQ(open.kicks[0].fromI, 1);
    EXPECT_EQ(open.kicks[0].cells, 5) << "cell 1 to the edge at cell 6";
    EXPECT_TRUE(open.kicks[0].wall);
    EXPECT_GT(open.kicks[0].stopFrame, open.kicks[0].frame);
    EXPECT_EQ(open.KicksIn(5, true, 0, 10000), 1);
    EXPECT_EQ(open.KicksIn(6, true, 0, 10000), 0);

    const RoundEvents blocked = KickAlongRow(true);
    ASSERT_EQ(blocked.kicks.size(), 1u);
    EXPECT_EQ(blocked.kicks[0].cells, 3) << "stops in cell 4, against the block in cell 5";
    EXPECT_FALSE(blocked.kicks[0].wall);
    EXPECT_EQ(blocked.KicksIn(3, true, 0, 10000), 0);
    EXPECT_TRUE(blocked.upperPlay.empty());
    EXPECT_TRUE(blocked.chains.empty());
}

// Caption windows of the tutorial, as the round's frames.
struct Window {
    int from, to;
};
constexpr Window kGroups{300, 1499}, kChains{1500, 2999}, kKicks{3000, 4499}, kLevels{4500, 5399};

TEST(ShippedRecordings, TutorialShowsEachCaptionsPointWhileItIsShown) {
    const Played p = Play("tuto.dat", RunTutorial);
    const RoundEvents& ev = p.ev;
    SCOPED_TRACE(ev.Summary() + kRegenerate);

    int groupOfThree = 0;
    for (const ChainEvent& c : ev.chains)
        groupOfThree += c.level == 1 && c.count == 3 && c.frame >= kGroups.from && c.frame <= kGroups.to;
    EXPECT_GE(groupOfThree, 1) << "a group of three vanishes";
    EXPECT_EQ(ev.ChainsIn(2, 0, kGroups.to), 0) << "chain links wait for the caption that explains them";

    EXPECT_GE(ev.ChainsIn(2, kChains.from, kChains.to), 2) << "chain links while chains are explained";

    EXPECT_GE(ev.KicksIn(4, true, kKicks.from, kKicks.to), 1) << "a kick across the board into the wall";
    EXPECT_GE(ev.KicksIn(2, false, kKicks.from, kKicks.to), 1) << "a kick into another block";

    // The clock runs out at 3780 plus 600 for each level-up: two before
    // 4380 keep the round going into the last caption, where the third comes.
    EXPECT_EQ(ev.LevelUpsIn(0, 4379), 2);
    EXPECT_EQ(ev.LevelUpsIn(4380, 4499), 0);
    EXPECT_EQ(ev.LevelUpsIn(kLevels.from, 4979), 1) << "a level-up under the caption that explains it";
    EXPECT_EQ(ev.levelUps.size(), 3u);
    EXPECT_EQ(p.g->Level, 4);
    EXPECT_EQ(p.endFrame, 3780 + 3 * 600 + 421) << "the round ends after its time runs out";
    EXPECT_GT(p.g->Score, 0u);
}

TEST(ShippedRecordings, DemonstrationsShowStrongVariedPlay) {
    const struct {
        const char* file;
        RunModeValue mode;
        uint32_t scoreToBeat;  // the best of the earlier recordings
    } demos[] = {{"demo1.dat", RunDemo1, 7080}, {"demo2.dat", RunDemo2, 7040}};
    for (const auto& d : demos) {
        const Played p = Play(d.file, d.mode);
        const RoundEvents& ev = p.ev;
        SCOPED_TRACE(std::string(d.file) + "\n" + ev.Summary() + kRegenerate);
        EXPECT_LE(p.endFrame, 5400 + 421) << "cut at the attract cycle's limit";
        EXPECT_GT(p.g->Score, d.scoreToBeat);
        EXPECT_GE(ev.ChainsIn(4, 0, 5400), 1) << "a chain link of level four or more";
        EXPECT_GE(ev.LevelUpsIn(0, 5400), 4);
        EXPECT_GE(ev.KicksIn(3, true, 0, 5400) + ev.KicksIn(3, false, 0, 5400), 2) << "long kicks";
        EXPECT_GE(ev.jumpsOntoBlocks.size(), 2u);
        EXPECT_GE(ev.upperPlay.size(), 1u) << "a push or kick from on top of a block";
        EXPECT_GE(ev.turns.size(), 1u);
        EXPECT_LE(ev.turns.size(), 6u) << "turns only where they serve";
    }
}

}  // namespace
}  // namespace mervox::testing
