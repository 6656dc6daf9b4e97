// --timedemo: a recorded round played with a frame drawn after every
// update, as fast as the machine allows, without a window.
#include "app/headless/timedemo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {

namespace {

double Percentile(std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const size_t index = std::min(sorted.size() - 1, static_cast<size_t>(p * (sorted.size() - 1) + 0.5));
    return sorted[index];
}

}  // namespace

int RunTimedemo(const CommandLine& cmd) {
    // Drawn from the game's own folder, as the game draws (see RunHeadless).
    GameFolder folder;
    std::string recording;
    auto g = std::make_unique<GameState>();
    if (!OpenRecording(*g, cmd.mode, cmd.timedemoPath, folder, recording)) return 1;
    RenderResources res;
    LoadRenderResources(res, folder.dir);
    // Every update is drawn at each scale asked for, one after the other,
    // so the scales are timed over the same frames in the same run.
    const std::vector<int>& scales = cmd.drawScales;
    std::vector<ScaledFrame> frames(scales.size());
    for (size_t k = 0; k < scales.size(); ++k) {
        frames[k].SetScale(scales[k]);
        PrepareSheetsAt(res, scales[k]);
    }
    const RoundHost host;

    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> drawMs(scales.size());
    for (auto& d : drawMs) d.reserve(20000);
    const Clock::time_point start = Clock::now();
    long updates = 0;
    int status = 0;
    while (g->RunMode != RunTitle) {
        if (++updates > kUpdateLimit) {
            std::fprintf(stderr, "mervox: the round did not end after %ld updates\n", kUpdateLimit);
            status = 1;
            break;
        }
        UpdateRound(*g, host, InputFrame{});
        for (size_t k = 0; k < scales.size(); ++k) {
            const Clock::time_point before = Clock::now();
            DrawScene(*g, res, frames[k].view());
            drawMs[k].push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ReleaseRenderResources(res);

    for (size_t k = 0; k < scales.size(); ++k) {
        std::vector<double>& ms = drawMs[k];
        std::sort(ms.begin(), ms.end());
        const size_t count = ms.size();
        const std::string at = scales.size() > 1 || scales[k] != 1 ? " at scale " + std::to_string(scales[k]) : "";
        std::printf("timedemo%s: %zu frames, %.3f s, %.1f fps, draw median %.3f ms, p99 %.3f ms\n", at.c_str(),
                    count, seconds, seconds > 0 ? count / seconds : 0.0, Percentile(ms, 0.5), Percentile(ms, 0.99));
    }
    return status;
}

}  // namespace mervox
