// The screenshot key: what the main loop pays (copying the frame for the
// writer) and what the writer thread pays (encoding and writing the PNG of
// a drawn round), against the 16.7 ms of one update; and the pacing of the
// whole program, with and without F12 pressed five times a second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "app/desktop/program.h"
#include "app/services/screenshot.h"
#include "app/soak/null_platform.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "platform/clock.h"
#include "render/png_writer.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {
namespace {

// A frame of a keyboard round after its ready count, as the window shows it.
std::unique_ptr<FrameBuffer> DrawnFrame() {
    auto fb = std::make_unique<FrameBuffer>();
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
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


// The whole program on a platform whose waits really wait: Z on the title
// starts a round; ten seconds of it (600 updates at 60 a second) are
// measured, with F12 every fifth of a second (Arg 1) or without (Arg 0).
// The figures are the machine's as much as the program's: on a busy
// machine the pacing drops with or without pictures.
struct PacedRun {
    NullPlatform* n = nullptr;
    bool screenshots = false;
    uint32_t start = 0;  // the clock at the first pump
    bool started = false;
    uint32_t nextShot = 0;
    bool measuring = false;
    long passes = 0;
    double lastPass = 0.0;
    double longestPass = 0.0;
    double measureStart = 0.0;
    double measureEnd = 0.0;
    long passesAtStart = 0;
    long passesAtEnd = 0;
};

constexpr uint32_t kPacedMeasureFromMs = 3000;
constexpr uint32_t kPacedMeasureToMs = 13000;

InputFrame PacedKeys(const PacedRun& r, uint32_t ms) {
    InputFrame in;
    const uint32_t t = ms - r.start;
    if (r.started && t >= 1000 && t < 1100) in.held |= HostKeyBit(HostKey::Kick);
    return in;
}

bool PacedCommands(PacedRun& r, uint32_t ms, PlayerCommand& command) {
    if (!r.started) {
        r.started = true;
        r.start = ms;
        r.nextShot = ms + kPacedMeasureFromMs;
        r.n->closeAtMs = ms + kPacedMeasureToMs + 100;
    }
    const uint32_t t = ms - r.start;
    if (!r.measuring && t >= kPacedMeasureFromMs && r.measureStart == 0.0) {
        r.measuring = true;
        r.measureStart = ClockSeconds();
        r.passesAtStart = r.passes;
        r.longestPass = 0.0;
    } else if (r.measuring && t >= kPacedMeasureToMs) {
        r.measuring = false;
        r.measureEnd = ClockSeconds();
        r.passesAtEnd = r.passes;
    }
    if (r.screenshots && r.measuring && static_cast<int32_t>(ms - r.nextShot) >= 0) {
        r.nextShot += 200;
        command = PlayerCommand::Screenshot;
        return true;
    }
    return false;
}

void CountPacedPass(PacedRun& r) {
    const double now = ClockSeconds();
    if (r.measuring && r.passes > r.passesAtStart && now - r.lastPass > r.longestPass) r.longestPass = now - r.lastPass;
    r.lastPass = now;
    r.passes += 1;
}

void BM_PacingWithScreenshots(benchmark::State& st) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "mervox-bench-pacing";
    for (auto _ : st) {
        st.PauseTiming();
        fs::remove_all(dir);
        fs::create_directories(dir / "data");
        for (const auto& e : fs::directory_iterator(fs::path(MERVOX_GAME_DIR) / "data"))
            if (e.path().extension() == ".png") fs::copy_file(e.path(), dir / "data" / e.path().filename());
        st.ResumeTiming();

        NullPlatform n;
        n.paced = true;
        PacedRun r;
        r.n = &n;
        r.screenshots = st.range(0) != 0;
        n.keys = [&r](uint32_t ms) { return PacedKeys(r, ms); };
        n.commandAt = [&r](uint32_t ms, PlayerCommand& command) { return PacedCommands(r, ms, command); };
        ProgramRun run;
        run.baseDir = dir.string();
        run.sound = false;
        run.afterPass = [&r](const GameState&) { CountPacedPass(r); };
        if (RunProgramOn(NullPlatformHooks(n), run) != 0 || r.measureEnd <= r.measureStart) {
            st.SkipWithError("the paced run did not finish");
            break;
        }
        long pictures = 0;
        if (fs::exists(dir / "screenshots"))
            for (const auto& e : fs::directory_iterator(dir / "screenshots")) pictures += e.is_regular_file();
        st.counters["updates_per_s"] = (r.passesAtEnd - r.passesAtStart) / (r.measureEnd - r.measureStart);
        st.counters["longest_pass_ms"] = r.longestPass * 1000.0;
        st.counters["pictures"] = static_cast<double>(pictures);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_PacingWithScreenshots)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace mervox
