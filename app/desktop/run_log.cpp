#include "app/desktop/run_log.h"

#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"

namespace mervox {

namespace {

constexpr int kPacingLogPasses = 600;

void LogRunChanges(RunLog& log, const GameState& g) {
    if (g.RunMode != log.lastRunMode) {
        std::fprintf(stderr, "mervox: run mode %d -> %d after %ld updates\n", log.lastRunMode, g.RunMode,
                     log.totalPasses);
        log.lastRunMode = g.RunMode;
    }
    const bool timeRunning = g.RunMode != RunTitle && g.TimeLeft > 0;
    if (timeRunning != log.roundTimeRunning) {
        if (!timeRunning && g.RunMode != RunTitle)
            std::fprintf(stderr, "mervox: the round's end begins after %ld updates\n", log.totalPasses);
        log.roundTimeRunning = timeRunning;
    }
}

void LogPacing(RunLog& log) {
    const double now = ClockSeconds();
    const double pass = now - log.lastPassEnd;
    log.lastPassEnd = now;
    if (log.loggedPasses > 0) {
        if (pass > log.longestPass) log.longestPass = pass;
        if (pass > 0.018) log.latePasses += 1;
    }
    if (++log.loggedPasses < kPacingLogPasses) return;
    const double span = now - log.logStart;
    std::fprintf(stderr,
                 "mervox: pacing: %d updates in %.3f s = %.2f updates/s (longest pass %.1f ms, %d over 18 ms)\n",
                 log.loggedPasses, span, span > 0 ? log.loggedPasses / span : 0.0, log.longestPass * 1000.0,
                 log.latePasses);
    log.loggedPasses = 0;
    log.logStart = now;
    log.longestPass = 0.0;
    log.latePasses = 0;
}

}  // namespace

void StartRunLog(RunLog& log) {
    log.pacing = std::getenv("MERVOX_PACING_LOG") != nullptr;
    log.runs = std::getenv("MERVOX_RUN_LOG") != nullptr;
}

void StartPassTimes(RunLog& log) { log.logStart = log.runStart = log.lastPassEnd = ClockSeconds(); }

void LogPass(RunLog& log, const GameState& g) {
    log.totalPasses += 1;
    if (log.runs) LogRunChanges(log, g);
    if (log.pacing) LogPacing(log);
}

void LogRunEnd(const RunLog& log) {
    if (!log.pacing || log.totalPasses == 0) return;
    const double span = ClockSeconds() - log.runStart;
    std::fprintf(stderr, "mervox: pacing: run of %ld updates in %.3f s = %.2f updates/s\n", log.totalPasses, span,
                 span > 0 ? log.totalPasses / span : 0.0);
}

}  // namespace mervox
