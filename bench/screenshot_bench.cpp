// The screenshot key: what the main loop pays (copying the frame for the
// writer) and what the writer thread pays (encoding and writing the PNG of
// a drawn round), against the 16.7 ms of one update.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "app/desktop/screenshot.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/png_writer.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {
namespace {

// A frame of a keyboard round after its ready count, as the window shows it.
std::unique_ptr<FrameBuffer> DrawnFrame() {
    auto fb = std::make_unique<FrameBuffer>();
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, 0);
    const RoundHost idle;
    for (int i = 0; i < 600; ++i) UpdateRound(*g, idle, InputFrame{});
    RenderResources res;
    LoadRenderResources(res, MERVOX_GAME_DIR);
    DrawScene(*g, res, *fb);
    ReleaseRenderResources(res);
    return fb;
}

void BM_EncodeScreenshotPng(benchmark::State& st) {
    const auto fb = DrawnFrame();
    const std::string path = (std::filesystem::temp_directory_path() / "mervox-bench-shot.png").string();
    for (auto _ : st) {
        if (!WriteFramePng(path, fb->pixels, kFrameWidth, kFrameHeight, kPictureOrigin, kPictureOrigin, kFrameWidth, kFrameHeight,
                           st.range(0) != 0)) {
            st.SkipWithError("cannot write the picture");
            break;
        }
    }
    st.counters["file_kB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e3;
    std::remove(path.c_str());
}
// 0: the headless captures' default compression; 1: the screenshot key's fast one.
BENCHMARK(BM_EncodeScreenshotPng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The main loop's share: the frame copied and queued (the writer is kept
// from writing, and its queue emptied outside the timing).
void BM_QueueScreenshot(benchmark::State& st) {
    const auto fb = DrawnFrame();
    ScreenshotWriter w;
    w.worker = std::thread([] {});  // joinable, takes nothing
    std::tm now{};
    for (auto _ : st) {
        TakeScreenshot(w, fb->pixels, now);
        st.PauseTiming();
        w.jobs.clear();
        st.ResumeTiming();
    }
    w.worker.join();
}
BENCHMARK(BM_QueueScreenshot)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mervox
