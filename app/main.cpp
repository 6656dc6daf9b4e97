// mervox: entry point. Chooses between the game in its window and the
// headless ways of running a recording.
#include <cstdio>

#include "app/board/board_commands.h"
#include "app/common/command_line.h"
#include "app/desktop/game_window.h"
#include "app/desktop/watch_window.h"
#include "app/desktop/window_timedemo.h"
#include "app/export/export_command.h"
#include "app/headless/headless_runner.h"
#include "app/headless/timedemo.h"
#include "app/soak/soak.h"
#include "net/http_call.h"

int main(int argc, char** argv) {
    // libcurl starts before any thread does (the music's, the board's).
    mervox::StartNetwork();
    mervox::CommandLine cmd = mervox::ParseCommandLine(argc, argv);
    if (!cmd.error.empty()) {
        std::fprintf(stderr, "mervox: %s\n", cmd.error.c_str());
        mervox::PrintUsage();
        return 2;
    }
    if (cmd.help) {
        mervox::PrintUsage();
        return 0;
    }
    if (cmd.version) {
        mervox::PrintVersion();
        return 0;
    }
    if (!cmd.submitPath.empty()) return mervox::RunSubmit(cmd);
    if (cmd.showBoard) return mervox::RunBoardList(cmd);
    if (!cmd.exportPath.empty()) return mervox::RunExport(cmd);
    if (cmd.headless) return mervox::RunHeadless(cmd);
    if (!cmd.timedemoPath.empty() && (cmd.windowed || cmd.fullscreen)) return mervox::RunWindowTimedemo(cmd);
    if (!cmd.timedemoPath.empty()) return mervox::RunTimedemo(cmd);
    if (cmd.soakRounds > 0) return mervox::RunSoak(cmd);
    if (!cmd.watchPath.empty()) return mervox::RunWatch(cmd);
    return mervox::RunProgram(cmd);
}
