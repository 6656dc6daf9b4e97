// Seeking in a watched recording: the headless pre-pass that measures a
// round and takes its snapshots, and the slowest seek (a snapshot restored,
// then the most updates up to the next one) at several snapshot spacings,
// with the memory the snapshots take.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include "app/common/playback_round.h"
#include "app/viewer/seek_snapshots.h"
#include "game/simulation.h"
#include "save/input_log_file.h"
#include "tests/app/long_round.h"

namespace mervox {
namespace {

// The round of the tests' bot recording: 12 301 updates, 10 levels.
std::string BotRound() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../tests/app/data/bot_round.dat";
}

// The demonstration recording (arg 0), the long keyboard round of the
// scripted player (arg 1) or the bot's round (arg 2), at frame 0 of its
// playback.
const GameState& Start(int which) {
    static std::unique_ptr<GameState> starts[3];
    if (!starts[which]) {
        starts[which] = std::make_unique<GameState>();
        if (which == 0) {
            StartPlaybackRound(*starts[0], RunDemo1, std::string(MERVOX_GAME_DIR) + "/data/demo1.dat");
        } else if (which == 2) {
            StartPlaybackRound(*starts[2], RunGame, BotRound());
        } else {
            auto recorded = testing::PlayLongRound(20);
            StartRoundOutsideTitle(*starts[1], RunGame, PlaybackOn);
            ParseInputLog(FormatInputLog(recorded->InputLog), starts[1]->InputLog);
        }
    }
    return *starts[which];
}

void BM_MeasureRound(benchmark::State& st) {
    const GameState& start = Start(static_cast<int>(st.range(0)));
    RoundTimeline t;
    for (auto _ : st) {
        MeasureRound(start, kSnapshotInterval, t);
        benchmark::DoNotOptimize(t.lastFrame);
    }
    st.counters["frames"] = t.lastFrame;
    st.counters["marks"] = static_cast<double>(t.marks.size());
    st.counters["snapshot_KB"] = static_cast<double>(t.SnapshotBytes()) / 1024.0;
}
BENCHMARK(BM_MeasureRound)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Every snapshot block once per iteration: from the round's end, a seek to
// the last frame before the next snapshot. The worst and mean seek are
// counters; the time per iteration is all of them together.
void BM_SlowestSeeks(benchmark::State& st) {
    const int which = static_cast<int>(st.range(0));
    const int interval = static_cast<int>(st.range(1));
    const GameState& start = Start(which);
    RoundTimeline t;
    MeasureRound(start, interval, t);
    auto g = std::make_unique<GameState>(start);
    const RoundHost& host = SilentHost();
    double worst = 0.0, total = 0.0;
    long seeks = 0;
    for (auto _ : st) {
        for (int k = 0; k * interval <= t.lastFrame; ++k) {
            SeekRound(t, *g, t.lastFrame, host);
            const auto t0 = std::chrono::steady_clock::now();
            SeekRound(t, *g, std::min(k * interval + interval - 1, t.lastFrame), host);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            worst = std::max(worst, s);
            total += s;
            ++seeks;
        }
        benchmark::DoNotOptimize(g->Score);
    }
    st.counters["worst_ms"] = worst * 1000.0;
    st.counters["mean_ms"] = seeks ? total / seeks * 1000.0 : 0.0;
    st.counters["frames"] = t.lastFrame;
    st.counters["snapshot_KB"] = static_cast<double>(t.SnapshotBytes()) / 1024.0;
    // The same spacing over a round of 29 000 updates.
    st.counters["KB_at_29000"] = static_cast<double>((29000 / interval + 1) * kSnapshotSize) / 1024.0;
}
BENCHMARK(BM_SlowestSeeks)
    ->ArgsProduct({{0, 1, 2}, {30, 60, 120, 240, 480, 960}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mervox
