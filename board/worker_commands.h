// `mervox-board verify` (verification workers alone, for a board in
// PostgreSQL whose web servers run with --verifiers 0) and
// `mervox-board reverify` (every verified round queued again after the
// simulation has changed).
#pragma once

#include <string>
#include <vector>

namespace mervox::board {

struct VerifyCommand {
    std::string dbUrl;
    int workers = 1;          // the cores unless given
    int leaseSeconds = 60;
    int pollSeconds = 5;      // the backstop when a notification is lost
};

struct ReverifyCommand {
    std::string dbUrl = "board.db";
};

// True when args (after the program's name) start with one of these commands.
bool IsWorkerCommand(const std::vector<std::string>& args);

// Reads `verify ...` or `reverify ...`. False with `error` when the
// arguments make no sense.
bool ParseVerifyCommand(const std::vector<std::string>& args, VerifyCommand& out, std::string& error);
bool ParseReverifyCommand(const std::vector<std::string>& args, ReverifyCommand& out, std::string& error);

// Runs the workers until SIGTERM or SIGINT. Returns the exit status.
int RunVerify(const VerifyCommand& cmd);
// Queues the verified rounds again and says how many. Returns the exit status.
int RunReverify(const ReverifyCommand& cmd);

// Parses and runs either command; the exit status (2: a bad command line).
int RunWorkerCommand(const std::vector<std::string>& args);

// The lines --help gives these commands.
const char* WorkerCommandsUsage();

}  // namespace mervox::board
