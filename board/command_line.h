// mervox-board's command line: `serve` and its options, --help, --version.
#pragma once

#include <string>
#include <vector>

#include "board/server.h"

namespace mervox::board {

enum class BoardCommand { Serve, Help, Version };

struct BoardCommandLine {
    BoardCommand command = BoardCommand::Serve;
    ServeOptions serve;
};

// Reads the arguments after the program's name. False with `error` (a
// sentence for stderr) when they make no sense.
bool ParseBoardCommandLine(const std::vector<std::string>& args, BoardCommandLine& out, std::string& error);

// Splits "ADDRESS:PORT" ("127.0.0.1:8080", "[::1]:8080", ":8080"). False
// when the port is not 0..65535 or is missing (0: any free port).
bool ParseListenAddress(const std::string& text, std::string& host, int& port);

// The text of --help.
const char* BoardUsage();

// Runs the command: serve until SIGTERM or SIGINT. Returns the exit status.
int RunBoard(const BoardCommandLine& cmd);

}  // namespace mervox::board
