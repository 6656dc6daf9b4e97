// The game's own perspective projection and the painter's order of the
// board cells.
#pragma once

#include <cstdint>

#include "draw/draw_context.h"
#include "game/state/game_state.h"

namespace mervox {

// A projected position in frame-buffer pixels (1-based screen positions).
using ScreenPoint = Point;

// The angles and screen mode the projection reads besides the camera.
struct ProjectionView {
    float viewAngleRad = 0;
    float cameraPitchRad = 0;
    ScreenModeValue screenMode = ScreenWindowed;
    // Drawing scale N: positions in pixels of a frame N times finer,
    // rounded once on that grid.
    int scale = 1;
};

inline ProjectionView ViewOf(const GameState& g) {
    return ProjectionView{g.ViewAngleRad, g.CameraPitchRad, g.ScreenMode};
}

// Direction from `from` to `to` in the x-z plane, radians (-270..+90 deg).
float GroundHeading(float fromX, float fromZ, float toX, float toZ);

// Direction from `from` to `to` in the y-z plane, radians.
float ElevationAngle(float fromY, float fromZ, float toY, float toZ);

// Screen position of the world point (x, y, z) seen from `cam`. A point at
// depth 0 lands a billion pixels off screen.
ScreenPoint ProjectPoint(const ProjectionView& view, const Camera& cam, float x, float y, float z);

inline ScreenPoint ProjectPoint(const GameState& g, const Camera& cam, float x, float y, float z) {
    return ProjectPoint(ViewOf(g), cam, x, y, z);
}
inline ScreenPoint ProjectPoint(const ProjectionView& view, const Camera& cam, const Vertex& v) {
    return ProjectPoint(view, cam, v.x, v.y, v.z);
}

// trunc(v) as an int, for the game's float-to-int conversions; values
// beyond +-1e9 (and NaN) are held at +-1e9 instead of overflowing.
int TruncToInt(double v);

// Painter's order: the board row drawn at depth step m (0..6) and the
// column drawn at side step n (0..6), from the camera's cell index
// (trunc(z / 100) and trunc(x / 100)). Far rows first; columns from each
// outer edge inward, the camera's own column last.
int PainterRow(int m, int cameraCellZ);
int PainterColumn(int n, int cameraCellX);

}  // namespace mervox
