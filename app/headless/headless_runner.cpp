#include "app/headless/headless_runner.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/headless/frame_capture.h"
#include "app/headless/round_trace.h"
#include "game/simulation.h"

namespace mervox {

namespace {

struct HeadlessWorld {
    std::vector<int> effects;  // started in the current update
};

// The effects each update starts, for the trace.
class EffectRecorder final : public RoundHost {
public:
    explicit EffectRecorder(HeadlessWorld& w) : world_(w) {}
    void writeEffect(int effect, bool) const override { world_.effects.push_back(effect); }

private:
    HeadlessWorld& world_;
};

}  // namespace

int RunHeadless(const CommandLine& cmd) {
    // The same game folder as the game's: pictures are drawn from its
    // sheets, and a recording is also looked for there. A run that draws
    // nothing needs no pictures: without a game folder it plays the
    // recording as named.
    GameFolder folder;
    std::string recording;
    auto g = std::make_unique<GameState>();
    if (!OpenRecording(*g, cmd.mode, cmd.replayPath, folder, recording, !cmd.screenshotFrames.empty())) return 1;

    HeadlessWorld world;
    const EffectRecorder host(world);

    std::FILE* trace = nullptr;
    if (!cmd.tracePath.empty()) {
        trace = std::fopen(cmd.tracePath.c_str(), "wb");
        if (trace == nullptr) {
            std::fprintf(stderr, "mervox: cannot write trace %s\n", cmd.tracePath.c_str());
            return 1;
        }
    }

    FrameCapture* capture = nullptr;
    std::vector<int> shots = cmd.screenshotFrames;
    std::sort(shots.begin(), shots.end());
    if (!shots.empty()) {
        capture = OpenFrameCapture(folder.dir, cmd.drawScales.front());
        if (capture == nullptr) {
            std::fprintf(stderr, "mervox: pictures cannot be drawn in this build\n");
            if (trace) std::fclose(trace);
            return 1;
        }
    }

    std::string line;
    int status = 0;
    long updates = 0;
    while (g->RunMode != RunTitle) {
        if (++updates > kUpdateLimit) {
            std::fprintf(stderr, "mervox: the round did not end after %ld updates\n", kUpdateLimit);
            status = 1;
            break;
        }
        world.effects.clear();
        UpdateRound(*g, host, InputFrame{});
        if (trace) {
            line.clear();
            AppendTraceLine(*g, world.effects, line);
            if (std::fwrite(line.data(), 1, line.size(), trace) != line.size()) {
                std::fprintf(stderr, "mervox: writing the trace failed\n");
                status = 1;
                break;
            }
        }
        if (capture && std::binary_search(shots.begin(), shots.end(), g->RoundFrame)) {
            if (!CaptureFrame(capture, *g, g->RoundFrame, cmd.outDir)) {
                std::fprintf(stderr, "mervox: cannot write frame %d to %s\n", g->RoundFrame,
                             cmd.outDir.c_str());
                status = 1;
            }
        }
    }
    if (trace && std::fclose(trace) != 0) status = 1;
    CloseFrameCapture(capture);

    std::printf("score=%u level=%d frames=%d cleared=%d\n", g->Score, g->Level, g->RoundFrame,
                g->BlocksCleared);
    return status;
}

}  // namespace mervox
