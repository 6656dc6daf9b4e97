#include "board/worker_commands.h"

#include <signal.h>

#include <charconv>
#include <cstdio>
#include <exception>
#include <thread>

#include "board/storage.h"
#include "board/verify_workers.h"

namespace mervox::board {
namespace {

bool Whole(const std::string& text, long lo, long hi, int& out) {
    long v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || p != end || v < lo || v > hi) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

const char* WorkerCommandsUsage() {
    return "verify runs verification workers alone, beside serve processes with --verifiers 0:\n"
           "  --db URL                the board's database (required; postgresql://...)\n"
           "  --workers N             verification threads (default: the cores)\n"
           "  --lease SECONDS         how long a worker holds a job (default 60)\n"
           "  --poll SECONDS          how often an idle worker looks without being woken (default 5)\n"
           "\n"
           "reverify queues every verified round again (after the simulation has changed):\n"
           "  --db PATH|URL           the board's database (default board.db)\n";
}

bool IsWorkerCommand(const std::vector<std::string>& args) {
    return !args.empty() && (args[0] == "verify" || args[0] == "reverify");
}

bool ParseVerifyCommand(const std::vector<std::string>& args, VerifyCommand& out, std::string& error) {
    out = VerifyCommand{};
    const unsigned cores = std::thread::hardware_concurrency();
    out.workers = cores == 0 ? 1 : static_cast<int>(cores);
    for (size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        if (a != "--db" && a != "--workers" && a != "--lease" && a != "--poll") {
            error = "unknown argument " + a + " for verify (see mervox-board --help)";
            return false;
        }
        if (k + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& v = args[++k];
        bool ok = true;
        if (a == "--db") {
            ok = !v.empty();
            out.dbUrl = v;
        } else if (a == "--workers") {
            ok = Whole(v, 1, 256, out.workers);
        } else if (a == "--lease") {
            ok = Whole(v, 1, 86400, out.leaseSeconds);
        } else {
            ok = Whole(v, 1, 3600, out.pollSeconds);
        }
        if (!ok) {
            error = "bad value for " + a + ": " + v;
            return false;
        }
    }
    if (out.dbUrl.empty()) {
        error = "verify needs --db, the database the board's web servers use";
        return false;
    }
    return true;
}

bool ParseReverifyCommand(const std::vector<std::string>& args, ReverifyCommand& out, std::string& error) {
    out = ReverifyCommand{};
    for (size_t k = 1; k < args.size(); ++k) {
        if (args[k] != "--db") {
            error = "unknown argument " + args[k] + " for reverify (see mervox-board --help)";
            return false;
        }
        if (k + 1 >= args.size() || args[k + 1].empty()) {
            error = "--db needs a value";
            return false;
        }
        out.dbUrl = args[++k];
    }
    return true;
}

int RunVerify(const VerifyCommand& cmd) {
    // The stop signals are taken by this thread alone: the workers started
    // below inherit the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::string error;
    {
        auto db = OpenStorage(cmd.dbUrl, error);
        if (!db) {
            std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
            return 1;
        }
        try {
            db->Migrate();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "mervox-board: %s\n", e.what());
            return 1;
        }
    }
    WorkerOptions w;
    w.dbUrl = cmd.dbUrl;
    w.workers = cmd.workers;
    w.leaseSeconds = cmd.leaseSeconds;
    w.pollMilliseconds = cmd.pollSeconds * 1000;
    VerifyWorkers workers(w);
    if (!workers.Start(error)) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "mervox-board: verifying with %d workers\n", cmd.workers);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    std::fprintf(stderr, "mervox-board: stopping (signal %d)\n", sig);
    workers.Stop();
    std::fprintf(stderr, "mervox-board: stopped after %ld rounds\n", workers.Finished());
    return 0;
}

int RunReverify(const ReverifyCommand& cmd) {
    std::string error;
    auto db = OpenStorage(cmd.dbUrl, error);
    if (!db) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 1;
    }
    try {
        db->Migrate();
        const int64_t n = db->RequeueVerified();
        std::printf("verified rounds queued again: %lld\n", static_cast<long long>(n));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mervox-board: %s\n", e.what());
        return 1;
    }
    return 0;
}

int RunWorkerCommand(const std::vector<std::string>& args) {
    std::string error;
    if (args[0] == "verify") {
        VerifyCommand cmd;
        if (!ParseVerifyCommand(args, cmd, error)) {
            std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
            return 2;
        }
        return RunVerify(cmd);
    }
    ReverifyCommand cmd;
    if (!ParseReverifyCommand(args, cmd, error)) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 2;
    }
    return RunReverify(cmd);
}

}  // namespace mervox::board
