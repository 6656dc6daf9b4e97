// The shipped recordings drawn at scales 2 and 4 with the game's own sheets
// and shrunk back by a box filter stay close to the picture at scale 1:
// nothing is out of place at the finer scales.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/common/playback_round.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {
namespace {

const std::string kGameDir = std::string(MERVOX_BINARY_DIR) + "/game";

struct Difference {
    double sum[3] = {};
    long count = 0;
    int largest[3] = {};
};

// Adds the difference per channel between the 1x frame and the N x frame
// shrunk by averaging each N x N block, over the picture a window shows.
void Compare(const FrameView& one, const FrameView& fine, Difference& d) {
    const int n = fine.scale;
    for (int y = 1; y < kFrameHeight; ++y) {
        for (int x = 1; x < kFrameWidth; ++x) {
            int sum[3] = {};
            for (int dy = 0; dy < n; ++dy)
                for (int dx = 0; dx < n; ++dx) {
                    const uint32_t p = fine.pixels[static_cast<size_t>(y * n + dy) * fine.width + x * n + dx];
                    for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
                }
            const uint32_t q = one.pixels[static_cast<size_t>(y) * one.width + x];
            for (int c = 0; c < 3; ++c) {
                const int diff = std::abs(sum[c] / (n * n) - static_cast<int>((q >> (8 * c)) & 0xFF));
                d.sum[c] += diff;
                d.largest[c] = std::max(d.largest[c], diff);
            }
            ++d.count;
        }
    }
}

TEST(DrawScale, FinerFramesShrunkBackMatchTheOriginalPicture) {
    RenderResources res;
    LoadRenderResources(res, kGameDir);
    ASSERT_NE(res.NumberSheet.pixels, nullptr) << "the generated sheets are needed in " << kGameDir;
    const int scales[] = {2, 4};
    std::vector<ScaledFrame> frames(3);
    frames[0].SetScale(1);
    for (int k = 0; k < 2; ++k) {
        frames[k + 1].SetScale(scales[k]);
        PrepareSheetsAt(res, scales[k]);
    }
    Difference diff[2];
    const struct {
        const char* file;
        RunModeValue mode;
    } recordings[] = {{"tuto.dat", RunTutorial}, {"demo1.dat", RunDemo1}, {"demo2.dat", RunDemo2}};
    for (const auto& r : recordings) {
        auto g = std::make_unique<GameState>();
        ASSERT_TRUE(StartPlaybackRound(*g, r.mode, kGameDir + "/data/" + r.file));
        const RoundHost host;
        // Ten updates spread over each round, the ready banner to the end.
        int next = 30;
        while (g->RunMode != RunTitle && next <= 5430) {
            UpdateRound(*g, host, InputFrame{});
            if (g->RoundFrame != next) continue;
            next += 600;
            for (ScaledFrame& f : frames) DrawScene(*g, res, f.view());
            for (int k = 0; k < 2; ++k) Compare(frames[0].view(), frames[k + 1].view(), diff[k]);
        }
    }
    for (int k = 0; k < 2; ++k) {
        const Difference& d = diff[k];
        ASSERT_GT(d.count, 0);
        std::printf("scale %d: mean difference per channel %.2f %.2f %.2f (B G R), largest %d %d %d\n", scales[k],
                    d.sum[0] / d.count, d.sum[1] / d.count, d.sum[2] / d.count, d.largest[0], d.largest[1],
                    d.largest[2]);
        for (int c = 0; c < 3; ++c) EXPECT_LT(d.sum[c] / d.count, 4.5) << "scale " << scales[k] << " channel " << c;
    }
    ReleaseRenderResources(res);
}

}  // namespace
}  // namespace mervox
