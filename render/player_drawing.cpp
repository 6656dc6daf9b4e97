// The player: two discs and a head in the colour of the most common
// blocks, and the push arrows around it.
#include <algorithm>
#include <cmath>

#include "draw/gdi_calls.h"
#include "render/digit_strings.h"
#include "render/scene_painter.h"

namespace mervox {

int PlayerColourFamily(const GameState& g) {
    int best = 0;
    for (int f = 1; f < 5; ++f) {
        if (g.ColourCounts[f] > g.ColourCounts[best]) best = f;
    }
    return best;
}

namespace {

// A disc lying at height y: the ellipse whose box has the projections of
// two opposite points of the circle as corners.
void Disc(ScenePainter& sp, float radius, float y, float cphi, float sphi) {
    const GameState& g = sp.g;
    const float ax = g.PlayerX - radius * cphi;
    const float az = g.PlayerZ - radius * sphi;
    const float bx = ax + 2 * radius * cphi;
    const float bz = az + 2 * radius * sphi;
    const Point a = sp.Project(ax, y, az);
    const Point b = sp.Project(bx, y, bz);
    Ellipse(sp.dc, a.x, a.y, b.x, b.y);
}

}  // namespace

void DrawPlayer(ScenePainter& sp) {
    const GameState& g = sp.g;
    const auto& shades = sp.pal.ShadeBrushes[PlayerColourFamily(g)];
    const float phi = (g.ViewAngle + 45) * DegToRad;
    const float cphi = static_cast<float>(std::cos(static_cast<double>(phi)));
    const float sphi = static_cast<float>(std::sin(static_cast<double>(phi)));
    sp.Brush(shades[5]);
    Disc(sp, 28, g.PlayerY, cphi, sphi);
    Disc(sp, 21, g.PlayerY + 15, cphi, sphi);
    // The head: a circle of radius 15 at 40 above the feet, sized by its
    // distance from the eye in the y-z plane.
    const float hy = g.PlayerY + 40;
    const Point h = sp.Project(g.PlayerX, hy, g.PlayerZ);
    const float dz = g.PlayerZ - sp.cam.z;
    const float dy = hy - sp.cam.y;
    const float d = static_cast<float>(std::sqrt(static_cast<double>(dz * dz + dy * dy)));
    // At drawing scale N the radius is N times larger, rounded once.
    const float radius = d > 0 ? 15 / d * 300 : 0.0f;
    double rd = d > 0 ? std::trunc(sp.n == 1 ? radius : static_cast<double>(radius) * sp.n) : 0.0;
    const int r = static_cast<int>(std::clamp(rd, 0.0, 100000.0));
    sp.Brush(shades[6]);
    Ellipse(sp.dc, h.x - r - sp.n, h.y - r - sp.n, h.x + r, h.y + r);
}

void DrawPushArrows(ScenePainter& sp) {
    const GameState& g = sp.g;
    if (g.PlayerY >= 200) return;
    const float x = g.PlayerX, z = g.PlayerZ, y = g.PlayerY + 50;
    struct Arrow {
        int bit;
        float dx, dz;          // push direction
        float labelX, labelZ;  // label anchor relative to the player
        int labelDy;
    };
    static constexpr Arrow kArrows[4] = {
        {IntentPlusX, 1, 0, 40, 15, -20},
        {IntentPlusZ, 0, 1, 0, 30, -30},
        {IntentMinusX, -1, 0, -40, 15, -20},
        {IntentMinusZ, 0, -1, 0, -15, -20},
    };
    for (const Arrow& a : kArrows) {
        if ((g.PushIntent & a.bit) == 0) continue;
        // Base 30 along the push, 20 to either side; tip 50 along.
        const float px = a.dz, pz = a.dx;  // sideways
        const Point tri[3] = {
            sp.Project(x + 30 * a.dx - 20 * px, y, z + 30 * a.dz - 20 * pz),
            sp.Project(x + 50 * a.dx, y, z + 50 * a.dz),
            sp.Project(x + 30 * a.dx + 20 * px, y, z + 30 * a.dz + 20 * pz),
        };
        sp.Brush(sp.pal.GreyBrushes[paint::kMarkerGrey]);
        Polygon(sp.dc, tri, 3);
        if (g.Level < 5) {
            const Point p = sp.Project(x + a.labelX, y, z + a.labelZ);
            const int64_t left = static_cast<int64_t>(p.x) - sp.S(sheet::kPushArrowLabel.w / 2);
            if (left < sp.S(kFrameWidth)) {
                DrawSheetRectAt(sp.frame, sp.res, sheet::kPushArrowLabel, static_cast<int>(left),
                                p.y + sp.S(a.labelDy));
            }
        }
    }
}

}  // namespace mervox
