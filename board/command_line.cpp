#include "board/command_line.h"

#include "board/worker_commands.h"

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <thread>

namespace mervox::board {

namespace {

bool Whole(const std::string& text, long lo, long hi, long& out) {
    long v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool Rate(const std::string& text, double& out) {
    long v = 0;
    if (!Whole(text, 0, 1000000, v)) return false;
    out = static_cast<double>(v);
    return true;
}

int Cores() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int>(n);
}

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
    if (!Whole(text.substr(colon + 1), 0, 65535, p)) return false;
    port = static_cast<int>(p);
    return true;
}

bool ParseBoardCommandLine(const std::vector<std::string>& args, BoardCommandLine& out, std::string& error) {
    out = BoardCommandLine{};
    out.serve.verifiers = Cores();
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
        const bool takesValue = a == "--listen" || a == "--db" || a == "--verifiers" || a == "--lease" ||
                                a == "--max-queue" || a == "--rate" || a == "--name-rate" || a == "--threads";
        if (!takesValue) {
            error = "unknown argument " + a + " (see mervox-board --help)";
            return false;
        }
        if (k + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++k];
        long n = 0;
        bool ok = true;
        if (a == "--listen") {
            ok = ParseListenAddress(v, out.serve.host, out.serve.port);
        } else if (a == "--db") {
            ok = !v.empty();
            out.serve.dbUrl = v;
        } else if (a == "--verifiers") {
            ok = Whole(v, 0, 256, n);
            out.serve.verifiers = static_cast<int>(n);
        } else if (a == "--lease") {
            ok = Whole(v, 1, 86400, n);
            out.serve.leaseSeconds = static_cast<int>(n);
        } else if (a == "--max-queue") {
            ok = Whole(v, 1, 100000000, n);
            out.serve.maxQueued = n;
        } else if (a == "--rate") {
            ok = Rate(v, out.serve.addressPerMinute);
        } else if (a == "--name-rate") {
            ok = Rate(v, out.serve.namePerMinute);
        } else if (a == "--threads") {
            ok = Whole(v, 1, 1024, n);
            out.serve.threads = static_cast<int>(n);
        }
        if (!ok) {
            error = "bad value for " + a + ": " + v;
            return false;
        }
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
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

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
