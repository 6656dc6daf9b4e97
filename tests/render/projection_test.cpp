// The worked examples of the game's projection and painter's order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "render/projection.h"

namespace mervox {
namespace {

const Camera kStart{350, 400, -200};

ProjectionView StartView(ScreenModeValue mode) { return ProjectionView{0, 30 * DegToRad, mode}; }

void ExpectAt(const ProjectionView& v, float x, float y, float z, int sx, int sy) {
    const ScreenPoint p = ProjectPoint(v, kStart, x, y, z);
    EXPECT_EQ(p.x, sx) << "(" << x << ", " << y << ", " << z << ")";
    EXPECT_EQ(p.y, sy) << "(" << x << ", " << y << ", " << z << ")";
}

TEST(Projection, StartCameraBoardCornersInWindowAndNarrowMode) {
    const ProjectionView m0 = StartView(ScreenWindowed);
    ExpectAt(m0, 0, 0, 0, 40, 439);
    ExpectAt(m0, 700, 0, 0, 602, 439);
    ExpectAt(m0, 0, 0, 700, 214, 210);
    ExpectAt(m0, 700, 0, 700, 428, 210);
    ExpectAt(m0, 350, 0, 200, 321, 321);
    const ProjectionView m2 = StartView(ScreenFull720);
    ExpectAt(m2, 0, 0, 0, 83, 370);
    ExpectAt(m2, 700, 0, 0, 558, 370);
    ExpectAt(m2, 0, 0, 700, 230, 177);
    ExpectAt(m2, 700, 0, 700, 411, 177);
    // Full-screen 640 mode projects like the window.
    ExpectAt(StartView(ScreenFull640), 700, 0, 700, 428, 210);
}

TEST(Projection, HorizonAndStraightAheadBranch) {
    // Far ahead at the eye's height: about 300 tan 30 = 173 above the centre.
    const ScreenPoint far = ProjectPoint(StartView(ScreenWindowed), kStart, 350, 400, 10000);
    EXPECT_EQ(far.x, 321);
    EXPECT_NEAR(far.y, 68, 1);
    // P.x = C.x takes the exact 90 degree heading: centre column in both modes.
    for (float z : {-100.0f, 0.0f, 300.0f, 650.0f}) {
        EXPECT_EQ(ProjectPoint(StartView(ScreenWindowed), kStart, 350, 0, z).x, 321) << z;
        EXPECT_EQ(ProjectPoint(StartView(ScreenFull720), kStart, 350, 0, z).x, 321) << z;
    }
    EXPECT_FLOAT_EQ(GroundHeading(350, -200, 350, 100), 90 * DegToRad);
    EXPECT_FLOAT_EQ(GroundHeading(350, -200, 350, -300), 90 * DegToRad - 180 * DegToRad);
    EXPECT_NEAR(GroundHeading(0, 0, -1, 0), -180 * DegToRad, 1e-6);
    EXPECT_FLOAT_EQ(ElevationAngle(400, 0, 400, 100), 90 * DegToRad);
}

TEST(Projection, NarrowModeShrinksAboutTheTopEdge) {
    // A point on the view axis lands on the centre pixel (321, 241) of the
    // window mode and on (321, 203) in the 720-wide mode.
    const float t = 400;
    const float s = std::sin(30 * DegToRad), c = std::cos(30 * DegToRad);
    const ScreenPoint a = ProjectPoint(StartView(ScreenWindowed), kStart, 350, 400 - t * s, -200 + t * c);
    const ScreenPoint b = ProjectPoint(StartView(ScreenFull720), kStart, 350, 400 - t * s, -200 + t * c);
    EXPECT_EQ(a.x, 321);
    EXPECT_EQ(a.y, 241);
    EXPECT_EQ(b.x, 321);
    EXPECT_EQ(b.y, 203);
}

TEST(Projection, RoundsTowardZeroOnBothSidesOfTheCentre) {
    // The point (350 +- dx, 0, 200) lies 546.4 units deep along the view
    // axis (400 cos 30 + 400 sin 30), so dx = 0.9 * 546.4 / 300 is 0.9
    // pixel off centre and dx for 1.1 pixels lands one pixel out.
    const float depth = 400 * std::cos(30 * DegToRad) + 400 * std::sin(30 * DegToRad);
    const float d09 = 0.9f * depth / 300, d11 = 1.1f * depth / 300;
    EXPECT_EQ(ProjectPoint(StartView(ScreenWindowed), kStart, 350 - d09, 0, 200).x, 321);
    EXPECT_EQ(ProjectPoint(StartView(ScreenWindowed), kStart, 350 + d09, 0, 200).x, 321);
    EXPECT_EQ(ProjectPoint(StartView(ScreenWindowed), kStart, 350 - d11, 0, 200).x, 320);
    EXPECT_EQ(ProjectPoint(StartView(ScreenWindowed), kStart, 350 + d11, 0, 200).x, 322);
}

TEST(Projection, YawTurnsTheViewAndDepthZeroGoesFarOff) {
    // Turning the view by 90 degrees puts the board's +x side straight ahead.
    ProjectionView turned = StartView(ScreenWindowed);
    turned.viewAngleRad = 90 * DegToRad;
    const ScreenPoint p = ProjectPoint(turned, kStart, 350 + 400, 0, -200);
    EXPECT_NEAR(p.x, 321, 1);
    // The eye itself has depth 0: far outside the screen, no overflow.
    const ScreenPoint eye = ProjectPoint(StartView(ScreenWindowed), kStart, 350, 400, -200);
    EXPECT_GT(std::llabs(static_cast<long long>(eye.x)) + std::llabs(static_cast<long long>(eye.y)),
              100000000LL);
    // Beside the eye at depth 0.
    const ScreenPoint side = ProjectPoint(StartView(ScreenFull720), kStart, 450, 400, -200);
    EXPECT_GT(std::llabs(static_cast<long long>(side.x)), 100000000LL);
}

TEST(PainterOrder, ColumnsFromTheOutsideInTheCameraColumnLast) {
    auto columns = [](int cx) {
        std::string s;
        for (int n = 0; n < 7; ++n) s += static_cast<char>('0' + PainterColumn(n, cx));
        return s;
    };
    EXPECT_EQ(columns(3), "6540123");
    EXPECT_EQ(columns(0), "6543210");
    EXPECT_EQ(columns(-2), "6543210");
    EXPECT_EQ(columns(6), "0123456");
    EXPECT_EQ(columns(9), "0123456");
    EXPECT_EQ(columns(1), "6543201");
}

TEST(PainterOrder, RowsFarToNearAndClampedBehindTheBoard) {
    auto rows = [](int cz) {
        std::string s;
        for (int n = 0; n < 7; ++n) s += static_cast<char>('0' + PainterRow(n, cz));
        return s;
    };
    EXPECT_EQ(rows(-2), "6543210");
    EXPECT_EQ(rows(0), "6543210");
    EXPECT_EQ(rows(3), "6540123");
    EXPECT_EQ(rows(7), "0123456");
    EXPECT_EQ(rows(12), "0123456");
}

}  // namespace
}  // namespace mervox
