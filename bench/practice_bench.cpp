// Rewinding a practice round: a practice round taken over from the first
// demonstration and played with changing keys, rewound 5 s from each of its
// frames in turn (so every distance from a snapshot, up to the longest, is
// met), each rewind timed on its own; the median and the worst are the
// counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/common/playback_round.h"
#include "app/viewer/practice_round.h"
#include "game/simulation.h"
#include "game/key_bits.h"

namespace mervox {
namespace {

constexpr int kBranch = 1500;
constexpr int kPlayed = 1200;  // updates played after the takeover

void BM_PracticeRewind5s(benchmark::State& st) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, RunDemo1, std::string(MERVOX_GAME_DIR) + "/data/demo1.dat");
    const RoundHost none;
    while (g->RoundFrame < kBranch) UpdateRound(*g, none, InputFrame{});
    PracticeRound p;
    TakeOver(p, *g, "demo1.dat");
    for (int k = 0; k < kPlayed; ++k) {
        const int keys = (k / 23) % 3 == 0 ? KeyLeft | KeyKick : (k / 23) % 3 == 1 ? KeyUp : KeyRight | KeyJump;
        PracticeUpdate(p, *g, none, FrameHoldingBits(keys));
    }
    auto at = std::make_unique<GameState>(*g);
    const PracticeRound kept = p;

    std::vector<double> ms;
    int frame = g->RoundFrame;
    for (auto _ : st) {
        st.PauseTiming();
        *g = *at;
        p = kept;
        // Back from each of the last snapshot interval's frames in turn.
        const int from = at->RoundFrame - (frame % kSnapshotInterval);
        PracticeRewindTo(p, *g, from);
        ++frame;
        st.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        PracticeRewind5s(p, *g);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - t0;
        ms.push_back(took.count());
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        st.counters["median_ms"] = ms[ms.size() / 2];
        st.counters["worst_ms"] = ms.back();
    }
}
BENCHMARK(BM_PracticeRewind5s)->Iterations(480)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace mervox
