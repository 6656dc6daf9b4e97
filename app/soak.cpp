// The soak: the whole program, title and rounds, for a long stretch of game
// time on the null platform, with keys changing erratically. It ends when
// its time is up, as if the window were closed; a crash or a hang on the way
// is what it looks for.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/null_platform.h"
#include "app/program.h"

namespace mervox {

namespace {

namespace fs = std::filesystem;

// Keys held in runs of a few to a few hundred milliseconds, chosen by a
// small generator of its own. Escape is never held, so only the time ends
// the run.
struct ErraticKeys {
    uint32_t seed;
    uint32_t held = 0;  // bit k: HostKey with value k
    uint32_t nextChange = 0;

    uint32_t Next() {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    }
};

bool ErraticKeyHeld(void* ctx, uint32_t clockMs, HostKey key) {
    ErraticKeys& e = *static_cast<ErraticKeys*>(ctx);
    if (static_cast<int32_t>(clockMs - e.nextChange) >= 0) {
        // Mostly arrows and the round's keys; now and then a title key.
        e.held = e.Next() & 0xFF;
        if (e.Next() % 8 == 0) e.held |= 1u << (8 + e.Next() % 5);  // R, F, B, S, Ctrl
        e.nextChange = clockMs + 5 + e.Next() % 400;
    }
    const int k = static_cast<int>(key);
    return key != HostKey::Escape && k < 32 && (e.held >> k & 1u) != 0;
}

// The files the program reads, copied from the game folder; what it writes
// (settings, scores, the replay) stays in the copy.
bool MakeScratchFolder(fs::path& dir) {
    std::error_code ec;
    dir = fs::temp_directory_path(ec) / ("mervox-soak-" + std::to_string(::getpid()));
    if (ec) return false;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "data", ec);
    if (ec) return false;
    if (!fs::is_directory("data", ec)) return true;
    for (const fs::directory_entry& f : fs::directory_iterator("data", ec)) {
        const std::string ext = f.path().extension().string();
        if (f.is_regular_file(ec) && (ext == ".png" || ext == ".dat"))
            fs::copy_file(f.path(), dir / "data" / f.path().filename(), ec);
        if (ec) return false;
    }
    return true;
}

}  // namespace

int RunSoak(const CommandLine& cmd) {
    fs::path dir;
    if (!MakeScratchFolder(dir)) {
        std::fprintf(stderr, "mervox: soak: cannot make a scratch copy of the game folder in %s\n",
                     dir.string().c_str());
        return 1;
    }
    ErraticKeys keys{static_cast<uint32_t>(cmd.seed)};
    NullPlatform n;
    n.scriptCtx = &keys;
    n.keyHeld = ErraticKeyHeld;
    n.closeAtMs = n.clock + static_cast<uint32_t>(cmd.soakSeconds) * 1000u;
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;

    const auto start = std::chrono::steady_clock::now();
    const int status = RunProgramOn(NullPlatformHooks(n), run);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soak: %d s of game time in %.1f s: %ld frames drawn, %ld keyboard round updates\n",
                cmd.soakSeconds, wall, n.framesPresented, n.keyPolls[static_cast<int>(HostKey::Left)]);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}

}  // namespace mervox
