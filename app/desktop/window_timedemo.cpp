#include "app/desktop/window_timedemo.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/common/stage_times.h"
#include "app/desktop/desktop_session.h"
#include "app/common/frame_loop.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "platform/clock.h"
#include "platform/display_check.h"
#include "platform/screen_mode.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {

namespace {

using Clock = std::chrono::steady_clock;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The game's frame loop over the window, the round's updates and drawings
// timed. Unpaced, the waits only take the window's events.
class TimedWindowLoop final : public FrameLoopHooks {
public:
    TimedWindowLoop(GameState& g, DesktopSession& d, RenderResources& res, bool paced, int lastUpdate)
        : g_(g), d_(d), res_(res), paced_(paced), lastUpdate_(lastUpdate) {}

    uint32_t clockMs() override { return ClockMs(); }
    void pumpMessagesFor(int milliseconds) override {
        if (paced_) {
            PumpMessagesFor(d_.pump, milliseconds);
        } else {
            DispatchPendingMessages(d_.pump);
        }
    }
    // The round has ended: the title is not part of the timing.
    void titleUpdate(const ActionFrame&) override { g_.QuitRequested = 1; }
    void drawTitleScreen() override {}
    void roundUpdate(const ActionFrame&) override {
        if (++updates > kUpdateLimit) {
            std::fprintf(stderr, "mervox: the round did not end after %ld updates\n", kUpdateLimit);
            stuck = true;
            g_.QuitRequested = 1;
            return;
        }
        const Clock::time_point t0 = Clock::now();
        UpdateRound(g_, host_, InputFrame{});
        update.ms.push_back(MsBetween(t0, Clock::now()));
    }
    void drawScene() override {
        // The scale follows the window, as in the game (a resize changes it).
        const int wanted = WantedDrawScale(d_.window);
        if (wanted != frame.scale) {
            frame.SetScale(wanted);
            PrepareSheetsAt(res_, frame.scale);
        }
        const Clock::time_point t0 = Clock::now();
        const double c0 = ProcessCpuMs();
        DrawScene(g_, res_, frame.view());
        const Clock::time_point t1 = Clock::now();
        const double c1 = ProcessCpuMs();
        UploadFrame(d_.window, frame.pixels.data(), frame.scale);
        const Clock::time_point t2 = Clock::now();
        const double c2 = ProcessCpuMs();
        RepaintWindow(d_.window);
        const Clock::time_point t3 = Clock::now();
        const double c3 = ProcessCpuMs();
        draw.ms.push_back(MsBetween(t0, t1));
        upload.ms.push_back(MsBetween(t1, t2));
        present.ms.push_back(MsBetween(t2, t3));
        total.ms.push_back(MsBetween(t0, t3));
        drawCpu.ms.push_back(c1 - c0);
        uploadCpu.ms.push_back(c2 - c1);
        presentCpu.ms.push_back(c3 - c2);
        totalCpu.ms.push_back(c3 - c0);
    }
    void passDone() override {
        if (lastUpdate_ != 0 && updates >= lastUpdate_) g_.QuitRequested = 1;
        const Clock::time_point now = Clock::now();
        if (passes > 0) pass.ms.push_back(MsBetween(lastPassEnd_, now));
        lastPassEnd_ = now;
        ++passes;
    }

    ScaledFrame frame;
    StageTimes update{"update", {}};
    StageTimes draw{"draw", {}};
    StageTimes upload{"upload", {}};
    StageTimes present{"present", {}};
    StageTimes total{"total", {}};
    StageTimes pass{"pass", {}};
    // The same stages in processor time of the whole process (the
    // renderer's threads included, the X server's work not).
    StageTimes drawCpu{"draw", {}};
    StageTimes uploadCpu{"upload", {}};
    StageTimes presentCpu{"present", {}};
    StageTimes totalCpu{"total", {}};
    long updates = 0;
    long passes = 0;
    bool stuck = false;

private:
    GameState& g_;
    DesktopSession& d_;
    RenderResources& res_;
    const RoundHost host_;
    const bool paced_;
    const int lastUpdate_;  // 0: the round's end
    Clock::time_point lastPassEnd_{};
};

}  // namespace

int RunWindowTimedemo(const CommandLine& cmd) {
    GameFolder folder;
    std::string recording;
    auto g = std::make_unique<GameState>();
    if (!OpenRecording(*g, cmd.mode, cmd.timedemoPath, folder, recording)) return 1;

    auto d = std::make_unique<DesktopSession>();
    std::string why;
    if (!StartDesktop(*d, folder.dir, false, why)) {
        std::fprintf(stderr, "mervox: no window can be shown: %s\n", why.c_str());
        return 1;
    }
    const DesktopArea desktop = QueryDesktop();
    const ScreenModeValue screenMode = ChooseScreenMode(cmd.fullscreen, desktop.width, desktop.height);
    if (!OpenDesktopWindow(*d, screenMode, cmd.scale, why)) {
        std::fprintf(stderr, "mervox: cannot open the window: %s\n", why.c_str());
        CloseDesktop(*d);
        return 1;
    }
    d->pump.window = &d->window;
    d->pump.quitRequested = &g->QuitRequested;
    // The window's first events (its size, its exposure) before the timing.
    PumpMessagesFor(d->pump, 100);

    RenderResources res;
    LoadRenderResources(res, folder.dir);
    res.keys = BoundNames(d->input.bindings);
    TimedWindowLoop loop(*g, *d, res, cmd.paced, cmd.to);
    const Clock::time_point start = Clock::now();
    RunFrameLoop(*g, loop, ClockMs());
    const double seconds = MsBetween(start, Clock::now()) / 1000.0;

    int outW = 0, outH = 0;
    WindowOutputSize(d->window, outW, outH);
    const double shown = ShownPictureScale(d->window);
    const int scale = loop.frame.scale;
    std::printf("timedemo in a window: %s %dx%d, picture shown %dx%d, drawn at scale %d (%dx%d), renderer %s, %s\n",
                screenMode != ScreenWindowed ? "full screen" : "window", outW, outH, static_cast<int>(640 * shown + 0.5),
                static_cast<int>(480 * shown + 0.5), scale, kFrameWidth * scale, kFrameHeight * scale,
                RendererName(d->window).c_str(), cmd.paced ? "paced as the game" : "unpaced");
    const size_t frames = loop.total.ms.size();
    std::printf("  %zu frames, %ld updates, %.3f s, %.1f frames a second\n", frames, loop.updates, seconds,
                seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
    std::vector<StageTimes> stages{loop.update, loop.draw, loop.upload, loop.present, loop.total};
    if (cmd.paced) stages.push_back(loop.pass);
    std::printf("  wall-clock time:\n");
    PrintStageTable(stdout, stages);
    std::printf("  processor time of the program's threads:\n");
    PrintStageTable(stdout, {loop.drawCpu, loop.uploadCpu, loop.presentCpu, loop.totalCpu});

    ReleaseRenderResources(res);
    CloseDesktop(*d);
    return loop.stuck ? 1 : 0;
}

}  // namespace mervox
