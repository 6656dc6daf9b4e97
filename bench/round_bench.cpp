// How fast the simulation runs: one update on a busy board, and a whole
// headless round.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/common/playback_round.h"
#include "game/simulation.h"
#include "game/state/board.h"

namespace mervox {
namespace {

// A board with 40 blocks: rows of mixed colours, a stacked layer, a group
// about to vanish and a kicked block sliding.
void FillBusyBoard(GameState& g) {
    InitProgramState(g);
    g.Playback = PlaybackOn;
    g.RunMode = RunGame;
    ResetScene(g);
    g.ReadyCountdown = 0;
    g.FadeLevel = 0;
    g.ColourCount = 5;
    g.Level = 12;
    int placed = 0;
    for (int i = 0; i < kBoardSize && placed < 40; ++i)
        for (int j = 0; j < kBoardSize && placed < 40; ++j)
            for (int l = 0; l < kLayers && placed < 40; ++l) {
                if (l == 1 && (i + j) % 3 != 0) continue;
                BlockSlot& s = g.Board[i][j][l];
                s = BlockSlot{};
                s.state = Solid;
                s.colour = (i * 3 + j * 2 + l) % 5;
                s.height = static_cast<float>(l * 100);
                ++placed;
            }
    g.Board[6][6][0].slideX = -8.0f;
    g.Board[6][6][0].offsetX = 40.0f;
}

void BM_UpdateRoundBusyBoard(benchmark::State& st) {
    auto start = std::make_unique<GameState>();
    FillBusyBoard(*start);
    auto g = std::make_unique<GameState>();
    const RoundHost host;
    int n = 0;
    for (auto _ : st) {
        if (n++ % 200 == 0) {
            st.PauseTiming();
            *g = *start;
            st.ResumeTiming();
        }
        UpdateRound(*g, host, InputFrame{});
        benchmark::DoNotOptimize(g->Score);
    }
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_UpdateRoundBusyBoard);

// A whole round with no keys pressed, from the ready countdown to the title.
void BM_WholeHeadlessRound(benchmark::State& st) {
    auto g = std::make_unique<GameState>();
    const RoundHost host;
    long updates = 0;
    for (auto _ : st) {
        StartPlaybackRound(*g, RunGame, "/nonexistent/recording.dat");
        while (g->RunMode != RunTitle) {
            UpdateRound(*g, host, InputFrame{});
            ++updates;
        }
        benchmark::DoNotOptimize(g->Score);
    }
    st.counters["updates_per_round"] = static_cast<double>(updates) / st.iterations();
}
BENCHMARK(BM_WholeHeadlessRound)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mervox
