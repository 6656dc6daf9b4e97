// The projection keeps every named intermediate (heading, elevation, turned
// and tilted coordinates, distances, depth) as a 32-bit float and evaluates
// the trigonometry, square roots and final screen arithmetic in double
// precision on those floats, so that projected pixels fall where the game
// has always put them.
#include "render/projection.h"

#include <algorithm>
#include <cmath>

#include "render/screen_layout.h"

namespace mervox {

namespace {

constexpr float k = DegToRad;
constexpr double kFarOff = 1.0e9;  // pixels; where a point at depth 0 goes

}  // namespace

int TruncToInt(double v) {
    if (!(v < kFarOff)) v = kFarOff;  // also catches NaN
    if (v < -kFarOff) v = -kFarOff;
    return static_cast<int32_t>(std::trunc(v));
}

float GroundHeading(float fromX, float fromZ, float toX, float toZ) {
    float h;
    if (toX == fromX) {
        h = 90 * k;
        if (toZ < fromZ) h = 90 * k - 180 * k;
    } else {
        const float q = (toZ - fromZ) / (toX - fromX);
        h = static_cast<float>(std::atan(static_cast<double>(q)));
        if (fromX > toX) h = h - 180 * k;
    }
    return h;
}

float ElevationAngle(float fromY, float fromZ, float toY, float toZ) {
    if (toY == fromY) return 90 * k;
    const float q = (toZ - fromZ) / (toY - fromY);
    return static_cast<float>(std::atan(static_cast<double>(q)) - static_cast<double>(180 * k));
}

ScreenPoint ProjectPoint(const ProjectionView& view, const Camera& c, float px, float py, float pz) {
    // 1-2. Heading, then the turn by the yaw about the camera.
    const float h = GroundHeading(c.x, c.z, px, pz);
    const float alpha = h - view.viewAngleRad;
    const float ddx = c.x - px;
    const float ddz = c.z - pz;
    const float d1 = static_cast<float>(std::sqrt(static_cast<double>(ddx * ddx + ddz * ddz)));
    const float x1 = static_cast<float>(c.x + d1 * std::cos(static_cast<double>(alpha)));
    const float z1 = static_cast<float>(c.z + d1 * std::sin(static_cast<double>(alpha)));
    // 3-4. Elevation, then the tilt by the pitch.
    const float v = ElevationAngle(c.y, c.z, py, z1);
    const float gamma = v - view.cameraPitchRad;
    const float dz = c.z - z1;
    const float dy = c.y - py;
    const float d2 = static_cast<float>(std::sqrt(static_cast<double>(dz * dz + dy * dy)));
    const float z2 = static_cast<float>(c.z + d2 * std::sin(static_cast<double>(gamma)));
    const float y2 = static_cast<float>(c.y + d2 * std::cos(static_cast<double>(gamma)));
    // 5. Depth: a point behind the eye is mirrored in front of it.
    const float d = std::fabs(z2 - c.z);
    // 6. Focal length 300 about the centre (320, 240).
    // At drawing scale N everything is N times larger, rounded on the finer
    // grid (at N = 1 the products with N change nothing).
    const double depth = static_cast<double>(d);
    const int n = view.scale > 1 ? view.scale : 1;
    const double focal = 300.0 * n;
    int32_t sx = screen::kCentreX * n - TruncToInt(-focal * (static_cast<double>(x1) - c.x) / depth);
    int32_t sy = screen::kCentreY * n - TruncToInt(focal * (static_cast<double>(y2) - c.y) / depth);
    // 7. The 720-wide mode shrinks the picture about its top edge, centred.
    if (view.screenMode == ScreenFull720) {
        sx = TruncToInt(sx * screen::kNarrowScale + screen::kNarrowShiftX * n);
        sy = TruncToInt(screen::kNarrowScale * sy);
    }
    // 8. Screen positions count from 1 (from N at scale N).
    return ScreenPoint{sx + n, sy + n};
}

int PainterRow(int m, int cameraCellZ) {
    // Behind the far edge the rows simply run near to far as seen from there.
    const int cz = std::min(cameraCellZ, 6);
    const int j = m < 6 - cz ? 6 - m : m + cz - 6;
    return std::clamp(j, 0, 6);
}

int PainterColumn(int n, int cameraCellX) {
    const int cx = cameraCellX;
    const int i = n < 6 - cx ? 6 - n : std::min(cx, 6) + n - 6;
    return std::clamp(i, 0, 6);
}

}  // namespace mervox
