#include "board/command_line.h"

#include "board/option_values.h"
#include "board/stop_signals.h"
#include "board/worker_commands.h"

#include <signal.h>

#include <cstdio>

namespace mervox::board {

namespace {

// Submissions a minute: 0 for no limit.
constexpr long kMostPerMinute = 1000000;

}  // namespace

const char* BoardUsage() {
    return "Usage: mervox-board [serve] [OPTIONS]\n"
           "       mervox-board --help | --version\n"
           "\n"
           "A score board for mervox that plays every submitted recording again and\n"
           "ranks only what it saw.\n"
           "\n"
           "serve (the default) answers HTTP and verifies submissions:\n"
           "  --listen ADDRESS:PORT   where to listen (default 127.0.0.1:8080)\n"
           "  --db PATH               the SQLite database file (default board.db)\n"
           "  --verifiers N           verification threads, 0 for none (default: the cores)\n"
           "  --lease SECONDS         how long a verifier holds a job (default 60)\n"
           "  --max-queue N           rounds waiting before submissions get 503 (default 10000)\n"
           "  --rate N                submissions a minute from one address (default 30, 0: no limit)\n"
           "  --name-rate N           submissions a minute under one name (default 12, 0: no limit)\n"
           "  --threads N             connections served at once (default 64)\n"
           "  --quiet                 no log line for each request and job\n";
}

bool ParseListenAddress(const std::string& text, std::string& host, int& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty()) host = "127.0.0.1";
    long p = 0;
    if (!ParseWholeNumber(text.substr(colon + 1), 0, 65535, p)) return false;
    port = static_cast<int>(p);
    return true;
}

bool ParseBoardCommandLine(const std::vector<std::string>& args, BoardCommandLine& out, std::string& error) {
    out = BoardCommandLine{};
    out.serve.verifiers = CoreCount();
    ServeOptions& serve = out.serve;
    const std::vector<ValueOption> options = {
        {"--listen", [&](const std::string& v) { return ParseListenAddress(v, serve.host, serve.port); }},
        TextOption("--db", serve.dbUrl),
        WholeNumberOption("--verifiers", 0, 256, serve.verifiers),
        WholeNumberOption("--lease", 1, 86400, serve.leaseSeconds),
        WholeNumberOption("--max-queue", 1, 100000000, serve.maxQueued),
        WholeNumberOption("--rate", 0, kMostPerMinute, serve.addressPerMinute),
        WholeNumberOption("--name-rate", 0, kMostPerMinute, serve.namePerMinute),
        WholeNumberOption("--threads", 1, 1024, serve.threads),
    };
    size_t k = 0;
    if (k < args.size() && args[k] == "serve") ++k;
    for (; k < args.size(); ++k) {
        const std::string& a = args[k];
        if (a == "--help" || a == "-h") {
            out.command = BoardCommand::Help;
            return true;
        }
        if (a == "--version") {
            out.command = BoardCommand::Version;
            return true;
        }
        if (a == "--quiet") {
            out.serve.log = false;
            continue;
        }
        switch (ReadValueOption(args, k, options, error)) {
            case OptionRead::Read: continue;
            case OptionRead::Bad: return false;
            case OptionRead::Unknown: break;
        }
        error = "unknown argument " + a + " (see mervox-board --help)";
        return false;
    }
    return true;
}

int RunBoard(const BoardCommandLine& cmd) {
    if (cmd.command == BoardCommand::Help) {
        std::fputs(BoardUsage(), stdout);
        std::fputs("\n", stdout);
        std::fputs(WorkerCommandsUsage(), stdout);
        return 0;
    }
    if (cmd.command == BoardCommand::Version) {
        std::printf("mervox-board %s\n", MERVOX_VERSION);
        return 0;
    }
    // The signals are taken by this thread alone: every thread started
    // from here on has them blocked.
    const sigset_t stopSignals = BlockStopSignals();

    BoardServer server(cmd.serve);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "mervox-board: serving http://%s:%d/ from %s with %d verifiers\n", cmd.serve.host.c_str(),
                 server.Port(), cmd.serve.dbUrl.c_str(), cmd.serve.verifiers);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    std::fprintf(stderr, "mervox-board: stopping (signal %d)\n", sig);
    server.Stop();
    std::fprintf(stderr, "mervox-board: stopped\n");
    return 0;
}

}  // namespace mervox::board
