// Drawing any state at all — random bytes in every field, NaN and huge
// floats, indices out of range — finishes without touching memory outside
// the frame and its objects.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <random>

#include "game/simulation.h"
#include "render/scene_drawing.h"
#include "test_images.h"

namespace mervox {
namespace {

TEST(GarbageState, AnyStateDrawsWithoutFault) {
    RenderResources res;
    CreatePalette(res.palette);
    res.NumberSheet = testing::MakeSourceSheet(640, 240, 0);
    res.RankSheet = testing::MakeSourceSheet(320, 100, 2000);
    // The title sheet stays unloaded.
    auto fb = std::make_unique<FrameBuffer>();
    auto g = std::make_unique<GameState>();
    std::mt19937 rng(20261208);
    for (int round = 0; round < 150; ++round) {
        auto* bytes = reinterpret_cast<uint8_t*>(g.get());
        for (size_t k = 0; k < sizeof(GameState); ++k) bytes[k] = static_cast<uint8_t>(rng());
        if (round % 2 == 0) {
            // Half the rounds keep a sane camera so that the scene lands on screen.
            PutTitleStartCamera(*g);
            g->RunMode = kRoundModes[round % std::size(kRoundModes)];
            g->CaptionIndex = 0;
        }
        fb->pixels[0] = 0x12345678;
        DrawScene(*g, res, *fb);
        // The corner pixel always gets the background: one of the greys.
        const uint32_t corner = fb->pixels[0];
        EXPECT_EQ(corner >> 24, 0u) << round;
        EXPECT_EQ(corner & 0xFF, (corner >> 8) & 0xFF) << round;
        EXPECT_EQ(corner & 0xFF, (corner >> 16) & 0xFF) << round;
        EXPECT_EQ((corner & 0xFF) % 10, 0u) << round;
    }
    ReleaseRenderResources(res);
}

}  // namespace
}  // namespace mervox
