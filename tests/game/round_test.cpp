// The round's clock, levels, score counting, sounds and ways of ending.
#include "round_fixture.h"

namespace mervox::testing {
namespace {

class RoundFlowTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        ClearBoardForPlay();
    }
};

TEST_F(RoundFlowTest, LevelUpsFollowTheTable) {
    struct Row {
        int level, quotaAdded, cap, interval, timeAdded;
    };
    const Row rows[] = {
        {2, 12, 14, 480, 1140}, {3, 14, 16, 420, 1080}, {4, 16, 18, 360, 1020},
        {5, 8, 14, 240, 960},   {10, 8, 18, 240, 660},  {15, 10, 28, 240, 600},
        {30, 18, 52, 240, 600},
    };
    for (const Row& r : rows) {
        g.Level = r.level - 1;
        g.LevelQuota = 0;
        g.TimeLeft = 2000;
        world.effects.clear();
        Step();
        EXPECT_EQ(g.Level, r.level);
        EXPECT_EQ(g.LevelQuota, r.quotaAdded) << "level " << r.level;
        EXPECT_EQ(g.BlockCap, r.cap) << "level " << r.level;
        EXPECT_EQ(g.SupplyInterval, r.interval) << "level " << r.level;
        EXPECT_EQ(g.TimeLeft, 2000 - 1 + r.timeAdded) << "level " << r.level;
        EXPECT_EQ(g.LevelUpFlash, 60);
        EXPECT_EQ(CountEffect(EffectExtend), 1);
    }
    EXPECT_EQ(g.ColourCount, 5);
}

TEST_F(RoundFlowTest, QuotaBelowZeroCarriesOverAndTutorialAddsTenSeconds) {
    g.RunMode = RunTutorial;
    g.LevelQuota = -3;
    g.TimeLeft = 100;
    Step();
    EXPECT_EQ(g.LevelQuota, 12 - 3);
    EXPECT_EQ(g.TimeLeft, 99 + 600);
}

TEST_F(RoundFlowTest, LevelUpReseedsFromTheSecondsPlayed) {
    g.PlayFrames = 7 * 60 + 59;
    g.LevelQuota = 0;
    Step();  // PlayFrames becomes 480 before the level-up
    EXPECT_EQ(g.RandomState, 8u) << "seeded with 480 div 60, nothing drawn after it";
}

TEST_F(RoundFlowTest, ExtendRestartsOnConsecutiveLevelUps) {
    g.LevelQuota = 0;
    Step();
    g.LevelQuota = 0;
    Step();
    EXPECT_EQ(CountEffect(EffectExtend), 2);
    for (size_t k = 0; k < world.effects.size(); ++k)
        if (world.effects[k] == EffectExtend) {
            EXPECT_TRUE(world.restarts[k]);
        }
}

TEST_F(RoundFlowTest, TickSoundsOncePerSecondInTheLastTen) {
    g.TimeLeft = 700;
    std::vector<int> ticksAt;
    while (g.TimeLeft > 0) {
        world.effects.clear();
        Step();
        if (CountEffect(EffectTick)) ticksAt.push_back(g.TimeLeft);
    }
    ASSERT_EQ(ticksAt.size(), 10u);
    EXPECT_EQ(ticksAt.front(), 599);
    EXPECT_EQ(ticksAt.back(), 59);
}

TEST_F(RoundFlowTest, ShownScoreCountsUpWithTheCounterSoundEveryOtherUpdate) {
    g.Score = 100;
    Step(10);
    EXPECT_EQ(g.ShownScore, 100u);
    EXPECT_EQ(CountEffect(EffectCnt), 5);
    g.Score = 105;
    Step();
    EXPECT_EQ(g.ShownScore, 105u) << "the last step stops at the score";
}

TEST_F(RoundFlowTest, GoVoiceWhenTheCountdownEnds) {
    g.ReadyCountdown = 3;
    g.FadeLevel = 80;
    Step(2);
    EXPECT_EQ(world.voicesGo, 0);
    EXPECT_EQ(g.FadeLevel, 76);
    Step(1);
    EXPECT_EQ(world.voicesGo, 1);
    EXPECT_EQ(g.TimeLeft, 3600) << "the clock starts in the next update";
    Step(1);
    EXPECT_EQ(g.TimeLeft, 3599);

    g.SEMODE = SoundOff;
    g.ReadyCountdown = 1;
    Step(1);
    EXPECT_EQ(world.voicesGo, 1) << "no voice with effects off";
}

TEST_F(RoundFlowTest, HighScoreEntryAtSixtyAfterTimeOut) {
    g.HighScores[0] = 5000;
    g.HighScores[1] = 3000;
    g.HighScores[2] = 1000;
    g.Score = 3000;
    g.ShownScore = 3000;
    g.TimeLeft = -59;
    Step();
    EXPECT_EQ(g.HighScores[0], 5000u);
    EXPECT_EQ(g.HighScores[1], 3000u);
    EXPECT_EQ(g.HighScores[2], 3000u) << "an equal score goes below";
    EXPECT_EQ(world.scoreSaves, 1);

    g.HighScores[2] = 3000;
    g.TimeLeft = -59;
    Step();
    EXPECT_EQ(world.scoreSaves, 1) << "equal to the third changes nothing";

    g.Score = 5000;
    g.TimeLeft = -59;
    Step();
    EXPECT_EQ(g.HighScores[1], 5000u) << "equal to the best enters second";
    EXPECT_EQ(g.HighScores[2], 3000u);
}

TEST_F(RoundFlowTest, PlaybackNeverEntersTheTable) {
    g.Playback = PlaybackOn;
    g.Score = 9000;
    g.TimeLeft = -59;
    Step();
    EXPECT_EQ(g.HighScores[0], 0u);
    EXPECT_EQ(world.scoreSaves, 0);
}

TEST_F(RoundFlowTest, HeldEscapeEndsTheRoundWithoutEnteringScores) {
    g.Score = 500;
    g.ShownScore = 500;
    world.esc = true;
    Step(59);
    EXPECT_GT(g.TimeLeft, 0);
    Step(1);
    EXPECT_EQ(g.TimeLeft, -360);
    EXPECT_EQ(g.EscHold, 60);
    world.esc = false;
    int updates = 0;
    while (g.RunMode != RunTitle && updates < 1000) {
        Step();
        ++updates;
    }
    EXPECT_EQ(updates, 61);
    EXPECT_EQ(g.HighScores[0], 0u) << "no high-score entry";
    EXPECT_EQ(world.scoreSaves, 0);
    EXPECT_EQ(g.FadeLevel, 80);
    EXPECT_EQ(world.replaySaves, 0);
}

TEST_F(RoundFlowTest, ReplayIsSavedWhenTheRoundEqualsTheBestScore) {
    g.HighScores[0] = 700;
    g.Score = 700;
    g.ShownScore = 700;
    g.TimeLeft = -420;
    Step();
    EXPECT_EQ(g.RunMode, RunTitle);
    EXPECT_EQ(world.replaySaves, 1);
}

TEST_F(RoundFlowTest, AttractRoundsStopAfter5400Updates) {
    g.RunMode = RunDemo1;
    g.Playback = PlaybackOn;
    g.RoundFrame = 5400;
    Step();
    EXPECT_EQ(g.TimeLeft, -360);
    EXPECT_EQ(g.EscHold, 60);

    g.RunMode = RunTutorial;
    g.TimeLeft = 1000;
    g.EscHold = 0;
    Step();
    EXPECT_EQ(g.TimeLeft, 999) << "the tutorial has no time limit of its own";
}

TEST_F(RoundFlowTest, TutorialCaptionsAdvanceWithTheRoundFrame) {
    g.RunMode = RunTutorial;
    g.RoundFrame = 1499;
    Step();
    EXPECT_EQ(g.CaptionIndex, 0);
    Step();
    EXPECT_EQ(g.CaptionIndex, 1) << "caption 0 ends at 1499";
    g.RoundFrame = 100000;
    Step(10);
    EXPECT_EQ(g.CaptionIndex, 4) << "the empty last entry is never passed";
}

TEST_F(RoundFlowTest, EffectsOffSetNoCooldowns) {
    g.SEMODE = SoundOff;
    g.Score = 100;
    Step(3);
    EXPECT_TRUE(world.effects.empty());
    EXPECT_EQ(g.EffectCooldown[EffectCnt], 0);
}

}  // namespace
}  // namespace mervox::testing
