// What the window decides from the screen it is on: the layout, the
// drawing scale of the sharp style, and the renderer.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/screen_mode.h"
#include "platform/window.h"

namespace mervox {
namespace {

// A full screen of 1920 x 1080 takes the wide layout (720 x 480 canvas),
// shown 2.25 times (1440 x 1080): the picture is drawn at scale 3 and
// shrunk to it. Exact multiples draw at their own scale; the scale stops
// at 4 however large the screen.
TEST(WindowChoices, FullScreenLayoutAndDrawingScale) {
    const ScreenModeValue wide = ChooseScreenMode(true, 1920, 1080);
    EXPECT_EQ(wide, ScreenFull720);
    const double shown = std::min(1920.0 / CanvasWidth(wide), 1080.0 / 480.0);
    EXPECT_DOUBLE_EQ(shown, 2.25);
    EXPECT_EQ(DrawScaleFor(shown), 3);
    EXPECT_EQ(ChooseScreenMode(true, 1280, 1024), ScreenFull640);
    EXPECT_EQ(ChooseScreenMode(false, 1920, 1080), ScreenWindowed);

    EXPECT_EQ(DrawScaleFor(1.0), 1);
    EXPECT_EQ(DrawScaleFor(2.0), 2);
    EXPECT_EQ(DrawScaleFor(2.0 + 1e-9), 2) << "rounding noise is not a larger scale";
    EXPECT_EQ(DrawScaleFor(0.5), 1);
    EXPECT_EQ(DrawScaleFor(4.5), 4);  // 2160 lines: 4 x 480 is the finest drawn
}

// The names OpenGL implementations give: Mesa's processor rasterizers take
// the software renderer; real graphics processors, whose names may also
// mention LLVM (AMD's shader compiler), keep OpenGL.
TEST(WindowChoices, SoftwareRasterizersAreToldFromGraphicsProcessors) {
    EXPECT_TRUE(IsSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRasterizer("softpipe"));
    EXPECT_TRUE(IsSoftwareRasterizer("Software Rasterizer"));
    EXPECT_TRUE(IsSoftwareRasterizer("Mesa X11 swrast"));
    EXPECT_TRUE(IsSoftwareRasterizer("GDI Generic"));
    EXPECT_FALSE(IsSoftwareRasterizer("AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)"));
    EXPECT_FALSE(IsSoftwareRasterizer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(IsSoftwareRasterizer("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2"));
    EXPECT_FALSE(IsSoftwareRasterizer("virgl (Mesa 22.3.6)"));
    EXPECT_FALSE(IsSoftwareRasterizer(""));  // no OpenGL context: nothing to replace
}

}  // namespace
}  // namespace mervox
