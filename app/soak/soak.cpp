// The soak: the whole program, title and rounds, for a given number of
// rounds on the null platform. A seeded player leaves the title alone until
// the attract cycle plays (the saved replay, the tutorial, the
// demonstrations), starts keyboard rounds and plays them with erratic keys,
// and ends some rounds early as a player would. Every frame is drawn into
// the back buffer, every update of a round is checked against the round's
// invariants, and the process's resident memory is sampled as it goes.
#include "app/soak/soak.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/common/game_folder.h"
#include "app/desktop/program.h"
#include "app/soak/null_platform.h"
#include "game/key_bits.h"
#include "game/round_invariants.h"
#include "support/lcg.h"

namespace mervox {

namespace {

namespace fs = std::filesystem;

// How a title visit or a round is to be played, chosen when it begins.
enum class TitlePlan { StartGame, StartReplay, WaitForAttract };

struct SoakPlayer {
    Lcg rng{1};
    NullPlatform* platform = nullptr;
    long roundsWanted = 0;

    // Seen after the last pass.
    RunModeValue lastRunMode = RunTitle;
    long passes = 0;
    long roundUpdates = 0;
    long roundsDone = 0;
    long framesAtStart = 0;

    // The plan of the current title visit or round.
    TitlePlan titlePlan = TitlePlan::StartGame;
    long titlePasses = 0;
    long titleKeyAt = 0;       // pass of the title visit at which its key goes down
    int32_t endFrame = -1;     // RoundFrame at which the player ends the round; -1 plays it out
    int32_t nextChange = 0;    // RoundFrame of the next change of the erratic keys
    int32_t roundKeys = 0;     // key bits held in a keyboard round
    HostKey endKey = HostKey::Escape;
    uint32_t endKeyUntilMs = 0;  // the end key is let go then, wherever the round is
    bool settingKey = false;   // B or S tapped on this title visit

    std::string fault;  // the first broken invariant
    long rssSampleEvery = 1;
    long peakRssKiB = 0;
};

long ResidentKiB() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    long size = 0, resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return read == 2 ? resident * (::sysconf(_SC_PAGESIZE) / 1024) : 0;
}

void PlanTitleVisit(SoakPlayer& s) {
    s.titlePasses = 0;
    const uint32_t r = s.rng.Below(10);
    s.titlePlan = r < 1 ? TitlePlan::WaitForAttract : r < 2 ? TitlePlan::StartReplay : TitlePlan::StartGame;
    s.titleKeyAt = 20 + s.rng.Below(180);
    s.settingKey = s.rng.Below(6) == 0;
}

// A keyboard round is ended with Escape held; a recorded one with a tap of
// Z. One round in five is played to its end.
void PlanRound(SoakPlayer& s, RunModeValue runMode) {
    s.nextChange = 0;
    s.roundKeys = 0;
    s.endKeyUntilMs = 0;
    s.endKey = runMode == RunGame ? HostKey::Escape : HostKey::Kick;
    s.endFrame = s.rng.Below(5) == 0 ? -1 : static_cast<int32_t>(120 + s.rng.Below(1500));
}

void SampleMemory(SoakPlayer& s) {
    const long rss = ResidentKiB();
    if (rss > s.peakRssKiB) s.peakRssKiB = rss;
    std::printf("soak: round %ld: %ld passes, resident %ld KiB\n", s.roundsDone, s.passes, rss);
    std::fflush(stdout);
}

void Stop(SoakPlayer& s) {
    if (s.platform->events.quitRequested != nullptr) *s.platform->events.quitRequested = 1;
}

void AfterPass(SoakPlayer& s, const GameState& g) {
    s.passes += 1;
    if (g.RunMode != RunTitle) {
        s.roundUpdates += 1;
        const std::string fault = FindRoundFault(g);
        if (!fault.empty() && s.fault.empty()) {
            s.fault = "round " + std::to_string(s.roundsDone + 1) + " (mode " + std::to_string(g.RunMode) +
                      ") update " + std::to_string(g.RoundFrame) + ": " + fault;
            Stop(s);
            return;
        }
    }
    if (g.RunMode != s.lastRunMode) {
        if (g.RunMode == RunTitle) {
            s.roundsDone += 1;
            if (s.roundsDone % s.rssSampleEvery == 0) SampleMemory(s);
            if (s.roundsDone >= s.roundsWanted) Stop(s);
            PlanTitleVisit(s);
        } else {
            PlanRound(s, g.RunMode);
        }
        s.lastRunMode = g.RunMode;
    }
    if (g.RunMode == RunTitle) {
        s.titlePasses += 1;
        return;
    }
    // The player's keys for the next update.
    if (g.RunMode == RunGame && g.RoundFrame >= s.nextChange) {
        s.roundKeys = static_cast<int32_t>((s.rng.Next() >> 8) & 0xff);
        if (s.rng.Below(3) == 0) s.roundKeys &= kArrowBits;
        s.nextChange = g.RoundFrame + 1 + static_cast<int32_t>(s.rng.Below(30));
    }
    if (s.endFrame >= 0 && g.RoundFrame >= s.endFrame && s.endKeyUntilMs == 0) {
        // Escape must be held a second; a tap of Z ends a playback. Either is
        // let go by the clock, as the round's end waits for Z to be up.
        s.endKeyUntilMs = s.platform->clock + (s.endKey == HostKey::Escape ? 1500u : 100u);
    }
}

bool SoakKeyHeld(const SoakPlayer& s, uint32_t clockMs, HostKey key) {
    if (s.lastRunMode == RunTitle) {
        const bool keyDown = s.titlePasses >= s.titleKeyAt && s.titlePasses < s.titleKeyAt + 10;
        if (s.settingKey && (key == HostKey::Music || key == HostKey::Effects))
            return s.titlePasses >= 5 && s.titlePasses < 8;
        switch (s.titlePlan) {
            case TitlePlan::StartGame: return key == HostKey::Kick && keyDown;
            case TitlePlan::StartReplay:
                // With no replay saved yet, R does nothing: Z follows it.
                return (key == HostKey::Replay && keyDown) ||
                       (key == HostKey::Kick && s.titlePasses >= s.titleKeyAt + 60 && s.titlePasses < s.titleKeyAt + 70);
            case TitlePlan::WaitForAttract: return false;
        }
        return false;
    }
    if (s.endKeyUntilMs != 0 && key == s.endKey) return static_cast<int32_t>(clockMs - s.endKeyUntilMs) < 0;
    if (s.lastRunMode != RunGame) return false;
    return KeyBitsHold(s.roundKeys, key);
}

// The keys of the pass about to run, as the plan of the last pass left them.
InputFrame SoakKeys(const SoakPlayer& s, uint32_t clockMs) {
    InputFrame in;
    for (HostKey key : kHostKeys)
        if (SoakKeyHeld(s, clockMs, key)) in.held = static_cast<uint16_t>(in.held | HostKeyBit(key));
    return in;
}

// The files the program reads, copied from the game folder; what it writes
// (settings, scores, the replay) stays in the copy.
bool MakeScratchFolder(const fs::path& from, fs::path& dir) {
    std::error_code ec;
    dir = fs::temp_directory_path(ec) / ("mervox-soak-" + std::to_string(::getpid()));
    if (ec) return false;
    fs::remove_all(dir, ec);
    fs::create_directories(dir / "data", ec);
    if (ec) return false;
    if (!fs::is_directory(from / "data", ec)) return true;
    for (const fs::directory_entry& f : fs::directory_iterator(from / "data", ec)) {
        const std::string ext = f.path().extension().string();
        if (f.is_regular_file(ec) && (ext == ".png" || ext == ".dat") && f.path().filename() != "replay.dat")
            fs::copy_file(f.path(), dir / "data" / f.path().filename(), ec);
        if (ec) return false;
    }
    return true;
}

}  // namespace

int RunSoak(const CommandLine& cmd) {
    // The pictures and recordings of the game folder the game itself would
    // use; the player's files there are never read nor written.
    GameFolder folder;
    std::string why;
    if (!ChooseOwnGameFolder(folder, why)) {
        std::fprintf(stderr, "mervox: %s\n", why.c_str());
        return 1;
    }
    fs::path dir;
    if (!MakeScratchFolder(folder.dir, dir)) {
        std::fprintf(stderr, "mervox: soak: cannot make a scratch copy of the game folder in %s\n",
                     dir.string().c_str());
        return 1;
    }
    NullPlatform n;
    SoakPlayer player;
    player.rng.state = static_cast<uint32_t>(cmd.seed) * 2654435761u + 1u;
    player.platform = &n;
    player.roundsWanted = cmd.soakRounds;
    player.rssSampleEvery = cmd.soakRounds >= 20 ? cmd.soakRounds / 20 : 1;
    PlanTitleVisit(player);
    n.keys = [&player](uint32_t clockMs) { return SoakKeys(player, clockMs); };
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    run.afterPass = [&player](const GameState& g) { AfterPass(player, g); };

    SampleMemory(player);
    const auto start = std::chrono::steady_clock::now();
    int status = RunProgramOn(NullPlatformHooks(n), run);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("soak: %ld rounds (%ld round updates) in %ld passes, %ld frames drawn, %.1f s; peak resident %ld KiB\n",
                player.roundsDone, player.roundUpdates, player.passes, n.framesPresented, wall, player.peakRssKiB);
    if (!player.fault.empty()) {
        std::fprintf(stderr, "mervox: soak: %s\n", player.fault.c_str());
        status = 1;
    } else if (n.framesPresented < player.passes) {
        std::fprintf(stderr, "mervox: soak: %ld frames drawn in %ld passes; every pass should draw\n",
                     n.framesPresented, player.passes);
        status = 1;
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}

}  // namespace mervox
