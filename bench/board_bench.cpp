// How fast the score board verifies a round: the shipped recordings played
// as game rounds, with and without the comparison of their openings with
// the board's top 100. The figure to read is rounds30k/s, rounds of 30 000
// updates verified a second on one core.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "board/recording_check.h"
#include "board/shipped_recordings.h"
#include "board/verifier.h"

namespace mervox::board {
namespace {

const ShippedRecording& Shipped(size_t index) { return ShippedRecordingTexts().at(index); }

void Report(benchmark::State& state, long updates) {
    state.SetItemsProcessed(updates);
    state.counters["rounds30k/s"] =
        benchmark::Counter(static_cast<double>(updates) / 30000.0, benchmark::Counter::kIsRate);
}

// Playing only.
void BM_PlayRound(benchmark::State& state) {
    CheckedRecording rec;
    std::string error;
    CheckRecording(Shipped(static_cast<size_t>(state.range(0))).text, rec, error);
    long updates = 0;
    for (auto _ : state) {
        const PlayResult r = PlayRecording(rec.records);
        benchmark::DoNotOptimize(r.score);
        updates += r.updates;
    }
    state.SetLabel(Shipped(static_cast<size_t>(state.range(0))).file);
    Report(state, updates);
}
BENCHMARK(BM_PlayRound)->DenseRange(0, 2);

// The whole job a worker does: check, play, and compare the opening with
// the shipped recordings and a board of 100 rounds.
void BM_VerifyJob(benchmark::State& state) {
    const std::string& text = Shipped(static_cast<size_t>(state.range(0))).text;
    std::vector<OpeningSource> sources = ShippedRecordings();
    for (int k = 0; k < 100; ++k) {
        OpeningSource s = sources[static_cast<size_t>(k) % 3];
        s.label = "board round " + std::to_string(k);
        s.nameKey = "name" + std::to_string(k);
        s.id = 1000 + k;
        // Each one parts from its source at a different update.
        s.records.resize(s.records.size() * static_cast<size_t>(k + 1) / 101);
        sources.push_back(std::move(s));
    }
    Job job{1, "ann", "ann", text, 1};
    long updates = 0;
    for (auto _ : state) {
        const Verdict v = VerifyJob(job, sources);
        benchmark::DoNotOptimize(v.score);
        updates += v.frames;
    }
    state.SetLabel(Shipped(static_cast<size_t>(state.range(0))).file);
    Report(state, updates);
}
BENCHMARK(BM_VerifyJob)->DenseRange(0, 2);

}  // namespace
}  // namespace mervox::board
