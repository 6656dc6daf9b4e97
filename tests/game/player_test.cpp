// Walking, contact, pushing, kicking, jumping and the corner push-out.
#include "round_fixture.h"

namespace mervox::testing {
namespace {

class PlayerTest : public RoundTest {};

TEST_F(PlayerTest, WalkStopsTwentyUnitsShortAndPushNeedsAFreshPress) {
    ClearBoardForPlay();
    Place(2, 0, 0, 0);
    Hold(KeyLeft, 20);
    EXPECT_FLOAT_EQ(g.PlayerX, 320.0f);
    EXPECT_EQ(g.PushIntent, IntentMinusX) << "the block ahead is armed for a push";

    // Still holding: the arrow was not pressed afresh, so nothing moves.
    Hold(KeyLeft, 5);
    EXPECT_FLOAT_EQ(g.PlayerX, 320.0f);
    EXPECT_EQ(g.Board[2][0][0].state, Solid);

    Hold(0, 1);
    EXPECT_EQ(g.KeyLatch, 0);
    Hold(KeyLeft, 1);
    EXPECT_EQ(CountEffect(EffectPush), 1);
    EXPECT_EQ(g.Board[2][0][0].state, Empty);
    EXPECT_EQ(g.Board[1][0][0].state, Solid);
    EXPECT_FLOAT_EQ(g.PlayerX, 312.0f) << "the first update of a push moves 8 units";
    EXPECT_TRUE(g.Pushing);

    world.held = 0;
    int updates = 1;
    while (g.Pushing && updates < 100) {
        Step();
        ++updates;
    }
    EXPECT_EQ(updates, 24);
    EXPECT_FLOAT_EQ(g.PlayerX, 220.0f);
    EXPECT_FLOAT_EQ(g.Board[1][0][0].offsetX, 0.0f) << "the block rests as the push ends";
    EXPECT_EQ(g.KeyLatch, 0);
}

TEST_F(PlayerTest, HeldArrowPushesARowCellByCell) {
    ClearBoardForPlay();
    Place(2, 0, 0, 0);
    Hold(KeyLeft, 20);
    Hold(0, 1);
    Hold(KeyLeft, 24);
    ASSERT_FLOAT_EQ(g.PlayerX, 220.0f);
    Hold(KeyLeft, 24);
    EXPECT_EQ(g.Board[0][0][0].state, Solid) << "the held arrow pushed the block on";
    EXPECT_EQ(g.Board[1][0][0].state, Empty);
    EXPECT_FLOAT_EQ(g.PlayerX, 120.0f);
    EXPECT_EQ(CountEffect(EffectPush), 2);
}

TEST_F(PlayerTest, NoPushOrKickDuringTheReadyCountdown) {
    ClearBoardForPlay();
    g.ReadyCountdown = 100;
    Place(2, 0, 0, 0);
    Hold(KeyLeft, 20);
    Hold(0, 1);
    Hold(KeyLeft, 3);
    Hold(KeyKick, 3);
    EXPECT_EQ(g.Board[2][0][0].state, Solid);
    EXPECT_FLOAT_EQ(g.PlayerX, 320.0f) << "walking works, pushing waits";
    EXPECT_EQ(CountEffect(EffectPush) + CountEffect(EffectKick), 0);
}

TEST_F(PlayerTest, PushOntoAnArrivingBlockReplacesItAndQueuesItsColour) {
    ClearBoardForPlay();
    Place(2, 0, 0, 0);
    BlockSlot& arriving = Place(1, 0, 0, 1);
    arriving.arriveTimer = 50;
    Hold(KeyLeft, 20);
    EXPECT_EQ(g.PushIntent, IntentMinusX) << "an arriving block leaves the cell free";
    Hold(0, 1);
    Hold(KeyLeft, 1);
    EXPECT_EQ(g.Board[1][0][0].colour, 0);
    EXPECT_EQ(g.Board[1][0][0].arriveTimer, 0);
    // The displaced colour waits for the next update's refill.
    EXPECT_EQ(g.RefillQueue[0], 1);
    EXPECT_EQ(g.RefillQueue[1], -1);
}

TEST_F(PlayerTest, StackedBlockTravelsWithItsBase) {
    ClearBoardForPlay();
    Place(2, 0, 0, 0);
    Place(2, 0, 1, 1);
    Hold(KeyLeft, 20);
    Hold(0, 1);
    Hold(KeyLeft, 1);
    EXPECT_EQ(g.Board[1][0][0].state, Solid);
    EXPECT_EQ(g.Board[1][0][1].state, Solid);
    EXPECT_EQ(g.Board[1][0][1].colour, 1);
    EXPECT_FLOAT_EQ(g.Board[1][0][1].offsetX, 92.0f) << "96 set by the push, 4 returned in the motion pass";
}

TEST_F(PlayerTest, KickSlidesToTheEdgeOrTheNextBlock) {
    ClearBoardForPlay();
    Place(4, 0, 0, 0);
    Hold(KeyRight, 20);
    ASSERT_FLOAT_EQ(g.PlayerX, 380.0f);
    ASSERT_EQ(g.PushIntent, IntentPlusX);
    Hold(KeyKick, 1);
    EXPECT_EQ(CountEffect(EffectKick), 1);
    EXPECT_EQ(g.PushIntent, 0);
    EXPECT_EQ(g.Board[4][0][0].state, Empty);
    Hold(0, 60);
    EXPECT_EQ(g.Board[6][0][0].state, Solid);
    EXPECT_EQ(g.Board[6][0][0].slideX, 0.0f);
    EXPECT_EQ(g.Board[6][0][0].offsetX, 0.0f);

    // Against a block: it stops centred in the last free cell.
    ClearBoardForPlay();
    g.PlayerX = 348.0f;
    Place(2, 0, 0, 0);
    Place(0, 0, 0, 1);
    // Left arms only when two ahead is free: (1, 0) is.
    Hold(KeyLeft, 20);
    ASSERT_EQ(g.PushIntent, IntentMinusX);
    Hold(KeyKick, 1);
    Hold(0, 60);
    EXPECT_EQ(g.Board[1][0][0].state, Solid);
    EXPECT_EQ(g.Board[1][0][0].colour, 0);
    EXPECT_EQ(g.Board[1][0][0].offsetX, 0.0f);
    EXPECT_EQ(g.Board[0][0][0].colour, 1);
}

TEST_F(PlayerTest, KickedBlockReplacesAnArrivingBlockOnItsWay) {
    ClearBoardForPlay();
    Place(4, 0, 0, 0);
    BlockSlot& arriving = Place(6, 0, 0, 1);
    arriving.arriveTimer = 59;
    Hold(KeyRight, 20);
    Hold(KeyKick, 1);
    world.held = 0;
    bool queued = false;
    for (int k = 0; k < 40 && !queued; ++k) {
        Step();
        queued = g.Board[6][0][0].colour == 0;
    }
    EXPECT_TRUE(queued) << "the kicked block took the arriving block's place";
    EXPECT_EQ(g.Board[6][0][0].arriveTimer, 0);
}

TEST_F(PlayerTest, JumpPeaksAt126AfterTwentyUpdatesDuringTheCountdown) {
    ClearBoardForPlay();
    g.ReadyCountdown = 180;
    Hold(KeyJump, 1);
    EXPECT_EQ(CountEffect(EffectJump), 1);
    float peak = g.PlayerY;
    int peakAt = 1;
    world.held = 0;
    for (int k = 2; k <= 45; ++k) {
        Step();
        if (g.PlayerY > peak + 1e-3f) {
            peak = g.PlayerY;
            peakAt = k;
        }
    }
    EXPECT_NEAR(peak, 126.0f, 1e-3f);
    EXPECT_EQ(peakAt, 20);
    EXPECT_EQ(g.PlayerY, 0.0f);
    EXPECT_EQ(g.PlayerVelY, 0.0f);
}

TEST_F(PlayerTest, JumpReachesOneBlockButNotAStackOfTwo) {
    ClearBoardForPlay();
    g.PlayerX = 220.0f;
    Place(1, 0, 0, 0);
    Place(0, 0, 0, 1);  // two ahead taken: the block ahead is never armed
    Hold(KeyLeft | KeyJump, 40);
    EXPECT_LT(g.PlayerX, 200.0f);
    Hold(0, 60);
    EXPECT_FLOAT_EQ(g.PlayerY, 100.0f) << "standing on the block";

    ClearBoardForPlay();
    g.PlayerX = 220.0f;
    g.PlayerY = 0.0f;
    g.PlayerVelY = 0.0f;
    Place(1, 0, 0, 0);
    Place(1, 0, 1, 0);
    Place(0, 0, 0, 1);
    Hold(KeyLeft | KeyJump, 60);
    EXPECT_FLOAT_EQ(g.PlayerX, 220.0f);
    Hold(0, 30);
    EXPECT_FLOAT_EQ(g.PlayerY, 0.0f);
}

TEST_F(PlayerTest, CornerPushOutKeepsThePlayerOffBlockCorners) {
    ClearBoardForPlay();
    g.PlayerX = 115.0f;
    g.PlayerZ = 115.0f;
    Place(0, 0, 0, 0);
    Step(5);
    EXPECT_FLOAT_EQ(g.PlayerX, 123.0f);
    EXPECT_FLOAT_EQ(g.PlayerZ, 123.0f);
}

TEST_F(PlayerTest, ArrowOrderDecidesDiagonalsAndOppositeArrowDisarms) {
    ClearBoardForPlay();
    Hold(KeyLeft | KeyUp, 10);
    EXPECT_FLOAT_EQ(g.PlayerX, 308.0f);
    EXPECT_FLOAT_EQ(g.PlayerZ, 88.0f);

    ClearBoardForPlay();
    g.PlayerX = 348.0f;
    g.PlayerZ = 48.0f;
    Place(2, 0, 0, 0);
    Hold(KeyLeft, 20);
    ASSERT_EQ(g.PushIntent, IntentMinusX);
    Hold(KeyRight, 1);
    EXPECT_EQ(g.PushIntent, 0) << "walking freely clears the intent";
    EXPECT_FLOAT_EQ(g.PlayerX, 324.0f);
}

TEST_F(PlayerTest, TurnKeysTogetherTurnTheQWay) {
    ClearBoardForPlay();
    Hold(KeyTurnQ | KeyTurnE, 1);
    EXPECT_EQ(g.TurnSpeed, 2);
    EXPECT_FLOAT_EQ(g.ViewAngle, 0.0f) << "the angle moves from the next update";
    world.held = 0;
    Step(44);
    EXPECT_FLOAT_EQ(g.ViewAngle, -2.0f);
    Step(1);
    EXPECT_FLOAT_EQ(g.ViewAngle, 0.0f);
    EXPECT_EQ(g.TurnSpeed, 0);
}

}  // namespace
}  // namespace mervox::testing
