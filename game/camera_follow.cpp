#include "game/camera_follow.h"

#include <algorithm>
#include <cmath>

#include "game/simulation.h"
#include "game/state/board.h"

namespace mervox {

namespace {

// Moves v toward t by s: down first, then up, so v settles within s of t.
void Ease(float& v, float t, float s) {
    if (v > t) v -= s;
    if (v < t) v += s;
}

}  // namespace

void UpdateCamera(GameState& g) {
    Camera& cam = g.ViewCamera;
    const bool inPlay = g.TimeLeft > 0;

    if (g.TimeLeft < 0) {
        // End of round: the camera rises and straightens.
        cam.y += 1.0f;
        g.CameraPitch = std::min(g.CameraPitch + 0.05f, 90.0f);
    }

    if (cam.x < g.PlayerX) cam.x += 4.0f;
    if (cam.x > g.PlayerX) cam.x -= 4.0f;
    if (std::fabs(cam.x - g.PlayerX) < 4.0f) cam.x = g.PlayerX;

    const int cx = CellIndex(g.PlayerX), cz = CellIndex(g.PlayerZ);
    const int layer = CellIndex(g.PlayerY);
    const bool nearOccupied = OccupiedAt(g, cx, cz - 1, layer);
    const bool farOccupied = cz >= 2 && OccupiedAt(g, cx, cz - 2, layer);
    const bool open = cz == 0 || g.PlayerY >= 200.0f || (!nearOccupied && !farOccupied);

    if (open || !nearOccupied) {
        // Open view, or raised when a block stands two cells in front.
        if (inPlay) Ease(cam.y, g.PlayerY + 400.0f, 3.0f);
        Ease(cam.z, g.PlayerZ - 150.0f - g.PlayerZ / 5.0f, 3.0f);
        if (inPlay) Ease(g.CameraPitch, open ? 60.0f : 70.0f, 0.5f);
    } else {
        // A block between the player and the camera: look from overhead.
        if (inPlay) Ease(cam.y, g.PlayerY + 400.0f, 3.0f);
        Ease(cam.z, g.PlayerZ, 4.5f);
        if (inPlay) Ease(g.CameraPitch, 80.0f, 0.7f);
    }

    HandCameraToProjection(g);
}

void HandCameraToProjection(GameState& g) {
    g.DrawCamera = g.ViewCamera;
    g.CameraPitchRad = g.CameraPitch * DegToRad;
    g.ViewAngleRad = g.ViewAngle * DegToRad;
}

void RelieveBackground(GameState& g) {
    const int depth = std::min((g.Level % 25) / 5, 4);
    // Cells of even a + b stay at -100; the others sink with the level.
    const float targets[2] = {kBackgroundLevel * static_cast<float>(1 + depth * 0),
                              kBackgroundLevel * static_cast<float>(1 + depth * 1)};
    for (int a = 0; a < kBoardSize; ++a) {
        Vertex* row = g.BackgroundGrid[a];
        const float even = targets[a & 1], odd = targets[(a + 1) & 1];
        for (int b = 0; b + 1 < kBoardSize; b += 2) {
            Ease(row[b].y, even, 1.0f);
            Ease(row[b + 1].y, odd, 1.0f);
        }
        Ease(row[kBoardSize - 1].y, even, 1.0f);
    }
}

}  // namespace mervox
