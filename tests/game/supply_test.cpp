// Where new blocks are placed and how they arrive.
#include "round_fixture.h"

#include "game/supply.h"

namespace mervox::testing {
namespace {

class SupplyTest : public RoundTest {
protected:
    void SetUp() override {
        RoundTest::SetUp();
        ClearBoardForPlay();
    }
    int Announced() const {
        int n = 0;
        for (auto& column : g.Board)
            for (auto& cell : column)
                for (auto& s : cell) n += s.state == Solid && s.arriveTimer > 0;
        return n;
    }
};

TEST_F(SupplyTest, StartingBlocksRiseAfterSixtyUpdatesWithoutGrouping) {
    ResetScene(g);
    Step(59);
    EXPECT_EQ(g.Board[3][2][0].arriveTimer, 1);
    EXPECT_FLOAT_EQ(g.Board[3][2][0].height, -146.0f) << "held at -150, then one rising step";
    Step(1);
    EXPECT_EQ(CountEffect(EffectAdm), 8) << "every arrival sounds";
    EXPECT_FLOAT_EQ(g.Board[3][2][0].height, -96.0f);
    Step(24);
    EXPECT_FLOAT_EQ(g.Board[3][2][0].height, 0.0f);
    Step(5);
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& s : cell) EXPECT_NE(s.state, Vanishing);
}

TEST_F(SupplyTest, FirstTimedSupplyComes1200UpdatesAfterTheReset) {
    ResetScene(g);
    Step(1199);
    EXPECT_EQ(g.SupplyCountdown, 1);
    const int before = Announced();
    Step(1);
    EXPECT_EQ(g.SupplyCountdown, 600);
    EXPECT_GT(Announced(), before);
}

TEST_F(SupplyTest, IdleSupplyAvoidsACellThatWouldMatchAtOnce) {
    g.PlayerX = 348.0f;
    g.PlayerZ = 148.0f;
    Place(1, 1, 0, 0);
    Place(2, 1, 0, 0);
    g.ColourCount = 1;  // the idle supply's colour is certain
    g.IdleTimer = 599;
    Step();
    EXPECT_EQ(g.Board[3][1][0].state, Empty) << "three of a colour would have touched";
    EXPECT_EQ(g.Board[4][1][0].state, Solid);
    EXPECT_EQ(g.Board[4][1][0].arriveTimer, 59);
    EXPECT_EQ(g.IdleTimer, 0);
}

TEST_F(SupplyTest, NeverAboveAVanishingBlock) {
    g.PlayerX = 348.0f;
    g.PlayerZ = 148.0f;
    BlockSlot& v = Place(3, 1, 0, 1);
    v.state = Vanishing;
    v.vanishTimer = 100;
    g.ColourCount = 1;
    g.IdleTimer = 599;
    Step();
    EXPECT_EQ(g.Board[3][1][1].state, Empty);
    EXPECT_EQ(g.Board[4][1][0].arriveTimer, 59);
}

TEST_F(SupplyTest, IdleBlockLandsOnThePlayersBlockThenSlidesUnderIt) {
    g.PlayerX = 348.0f;
    g.PlayerZ = 148.0f;
    g.PlayerY = 100.0f;
    Place(3, 1, 0, 0);
    g.ColourCount = 1;
    g.IdleTimer = 599;
    Step();
    ASSERT_EQ(g.Board[3][1][1].arriveTimer, 59) << "announced on top of the player's block";
    Step(58);
    EXPECT_FLOAT_EQ(g.PlayerY, 100.0f);
    Step(1);
    EXPECT_EQ(g.Board[3][1][0].arriveTimer, 0);
    EXPECT_FLOAT_EQ(g.Board[3][1][0].height, -96.0f) << "the new block went underneath";
    EXPECT_FLOAT_EQ(g.Board[3][1][1].height, 4.0f);
    Step(30);
    EXPECT_FLOAT_EQ(g.Board[3][1][0].height, 0.0f);
    EXPECT_FLOAT_EQ(g.Board[3][1][1].height, 100.0f);
    EXPECT_FLOAT_EQ(g.PlayerY, 200.0f) << "the player was lifted with it";
}

TEST_F(SupplyTest, FullRefillQueueDropsTheColour) {
    for (int k = 0; k < kRefillQueueLength; ++k) g.RefillQueue[k] = 1;
    QueueDisplacedColour(g, 0);
    for (int k = 0; k < kRefillQueueLength; ++k) EXPECT_EQ(g.RefillQueue[k], 1);
    g.RefillQueue[5] = -1;
    QueueDisplacedColour(g, 0);
    EXPECT_EQ(g.RefillQueue[5], 0);
}

TEST_F(SupplyTest, NoPlacementBeyondCapacity) {
    g.BlockCount = 12;
    g.BlockCap = 10;
    const uint32_t rng = g.RandomState;
    SupplyBlock(g, host, 1, 0);
    EXPECT_EQ(Announced(), 0);
    EXPECT_EQ(g.RandomState, rng) << "no cell is drawn when there is no room";
    SupplyBlock(g, host, 0, 0);
    EXPECT_EQ(Announced(), 1) << "the whole-board supply allows more";
}

}  // namespace
}  // namespace mervox::testing
