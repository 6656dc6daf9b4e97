// The board from the command line: `mervox --submit FILE` sends a recording
// under the options' board and name and waits for its verdict;
// `mervox --board` prints the best rounds. Both say on stderr, and exit 1,
// when no board is set, it cannot be reached, or it refuses.
#pragma once

#include <string>

#include "app/common/command_line.h"
#include "net/board_api.h"
#include "save/options_file.h"

namespace mervox {

int RunSubmit(const CommandLine& cmd);
int RunBoardList(const CommandLine& cmd);

// The same on a game folder already chosen, with the exchanges' limits
// and the longest wait for a verdict given (the tests shorten them).
// Output and messages go to the streams given.
struct BoardCommandRun {
    std::string baseDir;
    Options options;
    BoardLimits limits;
    int verdictWaitMs = 120000;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};
int SubmitRecording(const BoardCommandRun& run, const std::string& path);
int ListBoard(const BoardCommandRun& run);

}  // namespace mervox
