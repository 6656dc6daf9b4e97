// Groups, vanishing, chain links and what they score.
#include "round_fixture.h"

namespace mervox::testing {
namespace {

class MatchingTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        ClearBoardForPlay();
        g.PlayerX = 648.0f;  // out of the way in the far corner
        g.PlayerZ = 648.0f;
    }
};

TEST_F(MatchingTest, LShapeOfThreeVanishesButADiagonalDoesNot) {
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    Place(2, 2, 0, 0);
    Place(4, 4, 0, 1);
    Place(5, 5, 0, 1);
    Place(6, 6, 0, 1);
    Step();
    EXPECT_EQ(g.Board[1][1][0].state, Vanishing);
    EXPECT_EQ(g.Board[2][1][0].state, Vanishing);
    EXPECT_EQ(g.Board[2][2][0].state, Vanishing);
    EXPECT_EQ(g.Board[4][4][0].state, Solid);
    EXPECT_EQ(g.Board[6][6][0].state, Solid);
    EXPECT_EQ(g.LevelQuota, 7) << "the group counts toward the quota at once";
    EXPECT_EQ(g.Score, 300u);
    EXPECT_EQ(CountEffect(EffectVan1), 1);
    EXPECT_EQ(g.Board[1][1][0].vanishTimer, 179);

    // 180 updates of vanishing, then 10 of fading, then gone.
    Step(178);
    EXPECT_EQ(g.Board[1][1][0].state, Vanishing);
    Step(1);
    EXPECT_EQ(g.Board[1][1][0].state, Fading);
    EXPECT_EQ(g.BlocksCleared, 3);
    Step(10);
    EXPECT_EQ(g.Board[1][1][0].state, Empty);
}

TEST_F(MatchingTest, StackedBlockCountsWithTheBlockBelow) {
    Place(3, 3, 0, 1);
    Place(3, 3, 1, 1);
    Place(4, 3, 0, 1);
    Step();
    EXPECT_EQ(g.Board[3][3][1].state, Vanishing);
    EXPECT_EQ(g.Board[4][3][0].state, Vanishing);
}

TEST_F(MatchingTest, GroupsScoreByTheirSize) {
    for (int i = 0; i < 5; ++i) Place(i, 2, 0, 0);
    Step();
    EXPECT_EQ(g.Score, 600u);
    EXPECT_EQ(g.ChainSlots[0].count, 5);
    EXPECT_EQ(g.ChainSlots[0].chain, 1);
}

TEST_F(MatchingTest, MovingOrArrivingBlocksNeverGroup) {
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    Place(3, 1, 0, 0).offsetX = 8.0f;
    Place(1, 2, 0, 1);
    Place(2, 2, 0, 1);
    Place(3, 2, 0, 1).arriveTimer = 30;
    Step();
    EXPECT_EQ(g.Board[1][1][0].state, Solid);
    EXPECT_EQ(g.Board[1][2][0].state, Solid);
    Step(2);
    EXPECT_EQ(g.Board[1][1][0].state, Vanishing) << "once the block has come to rest";
}

TEST_F(MatchingTest, BlockBroughtToAVanishingGroupIsAChainLink) {
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    Place(3, 1, 0, 0);
    Step();
    ASSERT_EQ(g.Score, 300u);
    Step(20);
    const int before = g.Board[3][1][0].vanishTimer;
    ASSERT_EQ(before, 159);
    world.effects.clear();
    Place(4, 1, 0, 0);
    Step();
    const BlockSlot& joined = g.Board[4][1][0];
    EXPECT_EQ(joined.state, Vanishing);
    EXPECT_EQ(joined.chainLevel, 2);
    EXPECT_EQ(joined.popupSize, 29) << "(2 + 8) x 3, less this update's step";
    EXPECT_EQ(CountEffect(EffectVan2), 1);
    EXPECT_EQ(g.Score, 300u + 140u) << "one block at level 2";
    EXPECT_EQ(g.Board[3][1][0].vanishTimer, 179) << "extended to at most 180, then one update";
    EXPECT_EQ(g.LevelQuota, 10 - 4);
}

TEST_F(MatchingTest, TwoBlocksJoiningAtOnceShareTheirLink) {
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    Place(3, 1, 0, 0);
    Step(5);
    Place(4, 1, 0, 0);
    Place(5, 1, 0, 0);
    Step();
    EXPECT_EQ(g.Board[5][1][0].chainLevel, 2);
    EXPECT_EQ(g.Board[5][1][0].chainSlot, g.Board[4][1][0].chainSlot);
    EXPECT_EQ(g.Score, 300u + 2u * 10u * (2u + 8u + 5u));
}

TEST_F(MatchingTest, SolidBlocksNextToAFadingBlockStartANewGroup) {
    BlockSlot& fading = Place(1, 1, 0, 0);
    fading.state = Fading;
    fading.vanishTimer = 8;
    Place(2, 1, 0, 0);
    Place(3, 1, 0, 0);
    Step();
    EXPECT_EQ(g.Board[2][1][0].state, Vanishing);
    EXPECT_EQ(g.Board[2][1][0].chainLevel, 1);
    EXPECT_EQ(g.Score, 300u) << "the fading block counts toward the group of three";
}

TEST_F(MatchingTest, AllChainSlotsBusyReusesTheLastOneTaken) {
    for (int k = 0; k < kChainSlotCount; ++k) g.ChainSlots[k] = ChainSlot{1, 3, 50, 0};
    g.LastChainSlot = 7;
    Place(1, 1, 0, 1);
    Place(2, 1, 0, 1);
    Place(3, 1, 0, 1);
    Step();
    EXPECT_EQ(g.Board[1][1][0].chainSlot, 7);
    EXPECT_EQ(g.ChainSlots[7].timer, 119);
    EXPECT_EQ(g.Score, 300u);
}

TEST_F(MatchingTest, ReplacementArrivesInTheNextColourAfter120Updates) {
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    Place(3, 1, 0, 0);
    Step(120);
    EXPECT_EQ(CountEffect(EffectPrep), 0);
    Step(1);
    EXPECT_EQ(CountEffect(EffectPrep), 1) << "the cooldown lets one of three through";
    int announced = 0;
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& s : cell)
                if (s.state == Solid && s.arriveTimer > 0) {
                    ++announced;
                    EXPECT_EQ(s.colour, 1);
                }
    EXPECT_EQ(announced, 3);
}

}  // namespace
}  // namespace mervox::testing
