// --export's speed and memory: a whole demonstration written at drawing
// scales 1 and 2 as .webm and .mp4, in frames a second, against the 60 a
// second it plays at, with the time split between the simulation, the
// drawing, the mixing and the encoding; and the memory of a 30 000-update
// round, sampled as it goes, which must stay flat.
//
//   build/bench_export_bench --benchmark_filter=Demo    (minutes each)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "app/common/playback_round.h"
#include "app/export/round_export.h"
#include "game/simulation.h"

namespace mervox {
namespace {

const char* const kEndings[] = {".webm", ".mp4", ".mkv"};

std::string ClipPath(int ending) {
    return (std::filesystem::temp_directory_path() / (std::string("mervox-bench-clip") + kEndings[ending])).string();
}

// The resident memory now, in MB.
double ResidentMB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The processor time of the whole process (every thread), in seconds.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto s = [](const timeval& v) { return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

// On a machine shared with other work the wall clock says little: the
// processor time of every thread (cpu_s) against the clip's playing time
// says how fast the export is on two free cores (at most cpu_s / 2 when
// the threads keep both busy, at worst cpu_s).
void Report(benchmark::State& st, const ExportProgress& p, const ExportTimes& t, double seconds, double cpu) {
    const double frames = p.done.load();
    st.counters["cpu_s"] = cpu;
    st.counters["play_s"] = frames / 60.0;
    st.counters["frames"] = frames;
    st.counters["fps"] = frames / seconds;
    st.counters["x_realtime"] = frames / 60.0 / seconds;  // above 1: faster than it plays
    st.counters["sim_s"] = t.simulation;
    st.counters["draw_s"] = t.drawing;
    st.counters["mix_s"] = t.mixing;
    st.counters["encode_s"] = t.encoding;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    st.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// arg 0: the drawing scale; arg 1: 0 .webm, 1 .mp4, 2 .mkv.
void BM_ExportDemo(benchmark::State& st) {
    auto start = std::make_unique<GameState>();
    StartPlaybackRound(*start, RunDemo2, std::string(MERVOX_GAME_DIR) + "/data/demo2.dat");
    ExportRequest request;
    request.baseDir = MERVOX_GAME_DIR;
    request.outPath = ClipPath(static_cast<int>(st.range(1)));
    request.drawScale = static_cast<int>(st.range(0));
    for (auto _ : st) {
        ExportProgress progress;
        ExportTimes times;
        std::string error;
        const double cpu0 = ProcessCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        if (!ExportRound(*start, request, progress, times, error)) {
            st.SkipWithError(error.c_str());
            break;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        st.SetIterationTime(seconds);
        Report(st, progress, times, seconds, ProcessCpuSeconds() - cpu0);
        st.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(request.outPath)) / 1e6;
    }
    std::remove(request.outPath.c_str());
}
BENCHMARK(BM_ExportDemo)
    ->Args({1, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1})->Args({1, 2})
    ->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// A round of 30 000 updates: the first demonstration's recording played as
// a game (a demonstration ends at its time limit) with its clock set so
// far ahead that it lasts that long (the player idles once the recording
// has run out, and blocks keep arriving). The resident memory is sampled
// at a tenth, half and the end of the clip.
void BM_ExportLongRoundMemory(benchmark::State& st) {
    constexpr int kUpdates = 30000;
    auto start = std::make_unique<GameState>();
    StartPlaybackRound(*start, RunGame, std::string(MERVOX_GAME_DIR) + "/data/demo1.dat");
    start->TimeLeft = kUpdates + 600;
    start->ShownTime = start->TimeLeft;
    ExportRequest request;
    request.baseDir = MERVOX_GAME_DIR;
    request.outPath = ClipPath(static_cast<int>(st.range(0)));
    request.to = kUpdates;
    for (auto _ : st) {
        ExportProgress progress;
        ExportTimes times;
        std::string error;
        double at[3] = {};
        std::thread watcher([&] {
            const int marks[3] = {kUpdates / 10, kUpdates / 2, kUpdates};
            for (int k = 0; k < 3 && !progress.finished.load();) {
                if (progress.done.load() >= marks[k]) {
                    at[k] = ResidentMB();
                    std::fprintf(stderr, "export_bench: %d updates, resident %.1f MB\n", marks[k], at[k]);
                    ++k;
                }
                else std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        const double cpu0 = ProcessCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = ExportRound(*start, request, progress, times, error);
        watcher.join();
        if (!ok) {
            st.SkipWithError(error.c_str());
            break;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        st.SetIterationTime(seconds);
        Report(st, progress, times, seconds, ProcessCpuSeconds() - cpu0);
        st.counters["rss_10pc_MB"] = at[0];
        st.counters["rss_50pc_MB"] = at[1];
        st.counters["rss_end_MB"] = at[2];
    }
    std::remove(request.outPath.c_str());
}
BENCHMARK(BM_ExportLongRoundMemory)->Arg(0)->Arg(1)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace mervox
