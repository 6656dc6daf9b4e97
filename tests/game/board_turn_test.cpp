// Quarter turns of the board and the camera that follows the player.
#include "round_fixture.h"

#include "game/camera_follow.h"

#include <limits>

namespace mervox::testing {
namespace {

class TurnTest : public RoundTest {};

bool SameSlot(const BlockSlot& a, const BlockSlot& b) {
    return a.state == b.state && a.colour == b.colour && a.offsetX == b.offsetX &&
           a.height == b.height && a.offsetZ == b.offsetZ && a.slideX == b.slideX &&
           a.slideY == b.slideY && a.slideZ == b.slideZ && a.vanishTimer == b.vanishTimer &&
           a.arriveTimer == b.arriveTimer && a.chainSlot == b.chainSlot;
}

TEST_F(TurnTest, FourTurnsEitherWayRestoreEverything) {
    ClearBoardForPlay();
    Place(1, 2, 0, 0).offsetX = 40.0f;
    Place(1, 2, 1, 1).slideZ = -8.0f;
    Place(6, 0, 0, 1).arriveTimer = 12;
    g.PlayerX = 124.0f;
    g.PlayerZ = 452.0f;
    g.ViewCamera.x = 200.0f;
    g.ViewCamera.z = 300.0f;
    for (int direction = 0; direction < 2; ++direction) {
        GameState before = g;
        for (int k = 0; k < 4; ++k) TurnBoard(g, direction);
        for (int i = 0; i < kBoardSize; ++i)
            for (int j = 0; j < kBoardSize; ++j)
                for (int l = 0; l < kLayers; ++l)
                    EXPECT_TRUE(SameSlot(g.Board[i][j][l], before.Board[i][j][l])) << i << j << l;
        EXPECT_EQ(g.PlayerX, before.PlayerX);
        EXPECT_EQ(g.PlayerZ, before.PlayerZ);
        EXPECT_EQ(g.ViewCamera.x, before.ViewCamera.x);
        EXPECT_EQ(g.ViewCamera.z, before.ViewCamera.z);
    }
}

TEST_F(TurnTest, ContentsPlayerAndCameraTurnTogether) {
    ClearBoardForPlay();
    BlockSlot& sliding = Place(2, 5, 0, 1);
    sliding.slideX = 8.0f;
    sliding.offsetX = -40.0f;
    g.PlayerX = 348.0f;
    g.PlayerZ = 48.0f;
    g.ViewCamera.x = 348.0f;
    g.ViewCamera.z = -152.0f;
    TurnBoard(g, 0);
    // World (x, z) -> (z, 700 - x): cell (2, 5) -> (5, 4).
    const BlockSlot& turned = g.Board[5][4][0];
    EXPECT_EQ(turned.state, Solid);
    EXPECT_EQ(turned.slideZ, -8.0f) << "a slide along +x now runs along -z";
    EXPECT_EQ(turned.offsetZ, 40.0f);
    EXPECT_EQ(turned.slideX, 0.0f);
    EXPECT_EQ(g.PlayerX, 48.0f);
    EXPECT_EQ(g.PlayerZ, 352.0f);
    EXPECT_EQ(g.ViewCamera.x, 48.0f - 200.0f) << "the camera keeps its offset, turned";
    EXPECT_EQ(g.ViewCamera.z, 352.0f);

    TurnBoard(g, 1);
    EXPECT_EQ(g.Board[2][5][0].slideX, 8.0f);
    EXPECT_EQ(g.PlayerX, 348.0f);
    EXPECT_EQ(g.ViewCamera.z, -152.0f);
}

TEST_F(TurnTest, CameraLooksOverABlockInFront) {
    ClearBoardForPlay();
    g.PlayerX = 348.0f;
    g.PlayerZ = 248.0f;
    g.CameraPitch = 60.0f;
    Place(3, 1, 0, 0);
    for (int k = 0; k < 100; ++k) UpdateCamera(g);
    EXPECT_NEAR(g.CameraPitch, 80.0f, 0.7f);
    EXPECT_NEAR(g.ViewCamera.z, 248.0f, 4.5f);

    ClearBoardForPlay();
    g.CameraPitch = 60.0f;
    Place(3, 0, 0, 0);
    for (int k = 0; k < 100; ++k) UpdateCamera(g);
    EXPECT_FLOAT_EQ(g.CameraPitch, 70.0f) << "a block two cells away raises the view";

    ClearBoardForPlay();
    g.CameraPitch = 66.0f;
    for (int k = 0; k < 100; ++k) UpdateCamera(g);
    EXPECT_FLOAT_EQ(g.CameraPitch, 60.0f);
    EXPECT_EQ(g.DrawCamera.z, g.ViewCamera.z);
    EXPECT_FLOAT_EQ(g.CameraPitchRad, 60.0f * DegToRad);
}

TEST_F(TurnTest, BackgroundReliefDeepensEveryFiveLevels) {
    ClearBoardForPlay();
    g.Level = 12;  // two steps deep
    for (int k = 0; k < 400; ++k) Step();
    EXPECT_FLOAT_EQ(g.BackgroundGrid[1][0].y, -300.0f);
    EXPECT_FLOAT_EQ(g.BackgroundGrid[1][1].y, -100.0f);
    EXPECT_FLOAT_EQ(g.BackgroundGrid[7][0].y, -100.0f);
}

// The cell of a position, as the round, the camera and the drawing take it.
TEST(CellIndexTest, TruncatesTowardZeroAndHoldsPositionsFarOffTheBoard) {
    EXPECT_EQ(CellIndex(0.0f), 0);
    EXPECT_EQ(CellIndex(99.99f), 0);
    EXPECT_EQ(CellIndex(100.0f), 1);
    EXPECT_EQ(CellIndex(684.0f), 6);
    EXPECT_EQ(CellIndex(-99.0f), 0);  // a camera behind the near edge still reads cell 0
    EXPECT_EQ(CellIndex(-152.0f), -1);
    EXPECT_EQ(CellIndex(3e20f), 1000000000);
    EXPECT_EQ(CellIndex(-3e20f), -1000000000);
    EXPECT_EQ(CellIndex(std::numeric_limits<float>::infinity()), 1000000000);
    EXPECT_EQ(CellIndex(std::numeric_limits<float>::quiet_NaN()), 1000000000);
}

}  // namespace
}  // namespace mervox::testing
