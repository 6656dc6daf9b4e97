#include "board/worker_commands.h"

#include <signal.h>

#include <cstdio>
#include <exception>

#include "board/option_values.h"
#include "board/stop_signals.h"
#include "board/storage.h"
#include "board/verify_workers.h"

namespace mervox::board {
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
    out.workers = CoreCount();
    const std::vector<ValueOption> options = {
        TextOption("--db", out.dbUrl),
        WholeNumberOption("--workers", 1, 256, out.workers),
        WholeNumberOption("--lease", 1, 86400, out.leaseSeconds),
        WholeNumberOption("--poll", 1, 3600, out.pollSeconds),
    };
    for (size_t k = 1; k < args.size(); ++k) {
        switch (ReadValueOption(args, k, options, error)) {
            case OptionRead::Read: continue;
            case OptionRead::Bad: return false;
            case OptionRead::Unknown: break;
        }
        error = "unknown argument " + args[k] + " for verify (see mervox-board --help)";
        return false;
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
    const sigset_t stopSignals = BlockStopSignals();

    std::string error;
    if (!OpenMigratedStorage(cmd.dbUrl, error)) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 1;
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
    auto db = OpenMigratedStorage(cmd.dbUrl, error);
    if (!db) {
        std::fprintf(stderr, "mervox-board: %s\n", error.c_str());
        return 1;
    }
    try {
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
