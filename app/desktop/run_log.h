// What the program says on stderr when asked to: MERVOX_RUN_LOG, a line at
// every change of RunMode, at the round's end and at the options screen's
// opening and closing (the window checks wait for these lines);
// MERVOX_PACING_LOG, the updates a second every 600 passes and for the
// whole run.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

struct RunLog {
    bool pacing = false;  // MERVOX_PACING_LOG
    bool runs = false;    // MERVOX_RUN_LOG
    bool optionsScreenLogged = false;  // open as last logged
    RunModeValue lastRunMode = RunTitle;
    bool roundTimeRunning = false;  // as last logged: a round with time left
    int loggedPasses = 0;
    double logStart = 0.0;
    double lastPassEnd = 0.0;
    double longestPass = 0.0;
    int latePasses = 0;  // passes that took more than 18 ms
    long totalPasses = 0;
    double runStart = 0.0;
};

// Reads which logs the environment asks for.
void StartRunLog(RunLog& log);
// The frame loop starts: the pacing is measured from here.
void StartPassTimes(RunLog& log);
// After every pass, with the state it left.
void LogPass(RunLog& log, const GameState& g);
// The run's updates a second, at its end.
void LogRunEnd(const RunLog& log);

}  // namespace mervox
