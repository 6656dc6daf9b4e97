// Cost of drawing one frame: a busy round (40 blocks, a vanishing group
// with bursts and rings, chain pop-ups, push arrows, the tutorial caption
// band) and a title frame (the scene under the title), at drawing scales 1
// and 4, with the cost per pixel of the frame beside each.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {
namespace {

// Sheets with a mix of clear, opaque and blended pixels, for a build
// without the game's sheets.
SpriteSheet MixedSheet(int width, int height) {
    SpriteSheet s;
    s.pixels = static_cast<uint32_t*>(std::calloc(static_cast<size_t>(width) * height, 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int k = (x * 7 + y * 13) % 10;
            const uint32_t a = k < 4 ? 0 : k < 8 ? 255 : 128;
            s.pixels[y * width + x] = (a << 24) | 0x00336699u;
        }
    }
    s.width = width;
    s.height = height;
    return s;
}

struct BenchScene {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    ScaledFrame fb;
    RenderResources res;

    explicit BenchScene(int scale) {
        InitProgramState(*g);
        ResetScene(*g);
        fb.SetScale(scale);
        // The game's own sheets when they are built, else made-up ones.
        LoadRenderResources(res, MERVOX_GAME_DIR);
        PrepareSheetsAt(res, fb.scale);
        if (res.NumberSheet.pixels != nullptr) return;
        res.NumberSheet = MixedSheet(640, 240);
        res.TitleSheet = MixedSheet(640, 480);
        res.RankSheet = MixedSheet(320, 100);
        if (fb.scale > 1) {
            SheetSet& set = res.larger[fb.scale - 2];
            set.number = MixedSheet(640 * fb.scale, 240 * fb.scale);
            set.title = MixedSheet(640 * fb.scale, 480 * fb.scale);
            set.rank = MixedSheet(320 * fb.scale, 100 * fb.scale);
            set.ready = true;
        }
        g->DrawCamera = Camera{350, 420, -180};
        g->ViewCamera = g->DrawCamera;
        g->CameraPitch = 32;
        g->CameraPitchRad = 32 * DegToRad;
        g->ViewAngle = 10;
        g->ViewAngleRad = 10 * DegToRad;
    }
    ~BenchScene() { ReleaseRenderResources(res); }

    void MakeBusyRound() {
        GameState& s = *g;
        s.RunMode = RunTutorial;
        s.Playback = PlaybackOn;
        s.FadeLevel = 0;
        s.ReadyCountdown = 0;
        s.PlayFrames = 2000;
        s.RoundFrame = 600;
        s.CaptionIndex = 0;
        s.TimeLeft = 2000;
        s.ShownTime = 2000;
        s.ShownScore = 12345;
        s.Level = 3;
        s.LevelUpFlash = 1;
        s.PushIntent = 5;
        s.PlayerX = 350;
        s.PlayerZ = 150;
        s.PlayerY = 0;
        int placed = 0;
        for (int i = 0; i < 7 && placed < 40; ++i) {
            for (int j = 0; j < 7 && placed < 40; ++j) {
                if (i == 3 && j == 1) continue;  // the player's cell
                for (int layer = 0; layer < 2 && placed < 40; ++layer) {
                    if (layer == 1 && (i + j) % 3 != 0) continue;
                    BlockSlot& b = s.Board[i][j][layer];
                    b = BlockSlot{};
                    b.state = Solid;
                    b.colour = (i * 3 + j) % 5;
                    b.height = 100.0f * layer;
                    if (placed % 7 == 3) {
                        b.state = Vanishing;
                        b.vanishTimer = 60 + placed * 3;
                        b.popupSize = 20;
                        b.popupTimer = 15;
                        b.chainSlot = placed % 4;
                    }
                    if (placed % 11 == 5) b.offsetX = 40;
                    if (placed % 13 == 6) b.arriveTimer = 30;
                    ++placed;
                }
            }
        }
        for (int k = 0; k < 6; ++k) s.ChainSlots[k] = ChainSlot{k + 1, 3 + k, 40 + 10 * k, 0};
        for (int c = 0; c < 5; ++c) s.ColourCounts[c] = 8;
    }
};

void Draw(benchmark::State& state, BenchScene& scene) {
    for (auto _ : state) {
        DrawScene(*scene.g, scene.res, scene.fb.view());
        benchmark::DoNotOptimize(scene.fb.pixels[1000]);
    }
    // Seconds per pixel of the frame drawn.
    state.counters["per_pixel"] = benchmark::Counter(static_cast<double>(scene.fb.pixels.size()),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_DrawBusyRound(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)));
    scene.MakeBusyRound();
    Draw(state, scene);
}
BENCHMARK(BM_DrawBusyRound)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawBusyRoundWithoutCaption(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)));
    scene.MakeBusyRound();
    scene.g->RunMode = RunGame;
    scene.g->Playback = PlaybackOff;
    Draw(state, scene);
}
BENCHMARK(BM_DrawBusyRoundWithoutCaption)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_DrawTitleScene(benchmark::State& state) {
    BenchScene scene(static_cast<int>(state.range(0)));
    scene.g->RunMode = RunTitle;
    scene.g->FadeLevel = 0;
    // The title swings the checkerboard floor tiles up and down.
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            if ((a + b) % 2 == 1) scene.g->BackgroundGrid[a][b].y = -180;
        }
    }
    Draw(state, scene);
}
BENCHMARK(BM_DrawTitleScene)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace mervox
