// --timedemo: a recorded round played with a frame drawn after every
// update, as fast as the machine allows, without a window.
#include "app/headless/timedemo.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/common/stage_times.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {

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
    while (g->RunMode != RunTitle && (cmd.to == 0 || updates < cmd.to)) {
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
        const StageSummary s = Summarize(drawMs[k]);
        const std::string at = scales.size() > 1 || scales[k] != 1 ? " at scale " + std::to_string(scales[k]) : "";
        std::printf("timedemo%s: %zu frames, %.3f s, %.1f fps, draw median %.3f ms, p95 %.3f ms, p99 %.3f ms\n",
                    at.c_str(), s.count, seconds, seconds > 0 ? s.count / seconds : 0.0, s.median, s.p95, s.p99);
    }
    return status;
}

}  // namespace mervox
