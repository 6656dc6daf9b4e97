// mervox-board: the score board's program.
#include <cstdio>
#include <string>
#include <vector>

#include "board/command_line.h"
#include "board/worker_commands.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (mervox::board::IsWorkerCommand(args)) return mervox::board::RunWorkerCommand(args);
    mervox::board::BoardCommandLine cmd;
    std::string error;
    if (!mervox::board::ParseBoardCommandLine(args, cmd, error)) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 2;
    }
    return mervox::board::RunBoard(cmd);
}
