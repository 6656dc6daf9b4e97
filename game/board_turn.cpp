// Quarter turns of the board's contents, the player and the camera.
#include "game/simulation.h"

namespace mervox {

void TurnBoard(GameState& g, int direction) {
    BlockSlot old[kBoardSize][kBoardSize][kLayers];
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) old[i][j][l] = g.Board[i][j][l];

    for (int i = 0; i < kBoardSize; ++i) {
        for (int j = 0; j < kBoardSize; ++j) {
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& src = direction == 0 ? old[6 - j][i][l] : old[j][6 - i][l];
                BlockSlot& dst = g.Board[i][j][l];
                dst = src;
                if (direction == 0) {
                    dst.offsetX = src.offsetZ;
                    dst.offsetZ = -src.offsetX;
                    dst.slideX = src.slideZ;
                    dst.slideZ = -src.slideX;
                } else {
                    dst.offsetX = -src.offsetZ;
                    dst.offsetZ = src.offsetX;
                    dst.slideX = -src.slideZ;
                    dst.slideZ = src.slideX;
                }
            }
        }
    }

    const float dx = g.ViewCamera.x - g.PlayerX;
    const float dz = g.ViewCamera.z - g.PlayerZ;
    const float oldX = g.PlayerX, oldZ = g.PlayerZ;
    if (direction == 0) {
        g.PlayerX = oldZ;
        g.PlayerZ = kBoardExtent - oldX;
        g.ViewCamera.x = g.PlayerX + dz;
        g.ViewCamera.z = g.PlayerZ - dx;
    } else {
        g.PlayerX = kBoardExtent - oldZ;
        g.PlayerZ = oldX;
        g.ViewCamera.x = g.PlayerX - dz;
        g.ViewCamera.z = g.PlayerZ + dx;
    }
}

void TurnBoardPastHalfway(GameState& g) {
    if (g.ViewAngle < -45.0f) {
        TurnBoard(g, 1);
        g.ViewAngle += 90.0f;
    } else if (g.ViewAngle > 45.0f) {
        TurnBoard(g, 0);
        g.ViewAngle -= 90.0f;
    }
}

}  // namespace mervox
