// The whole program (title, a keyboard round, the end, the saving) run on
// the null platform, driven by a key script on its clock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/desktop/program.h"
#include "app/services/screenshot.h"
#include "app/soak/null_platform.h"
#include "game/key_bits.h"
#include "render/png_writer.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

// Z on the title starts a game; Escape held in the round ends it; Escape
// on the title afterwards quits.
InputFrame Script(uint32_t ms) {
    InputFrame in;
    if (ms >= 1000 && ms < 1100) in.held |= HostKeyBit(HostKey::Z);
    if ((ms >= 8000 && ms < 10000) || (ms >= 16000 && ms < 16100)) in.held |= HostKeyBit(HostKey::Escape);
    return in;
}

TEST(NullPlatform, TheProgramPlaysARoundAndQuitsWithNoWindowNoWaitingNoSound) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-null-platform";
    fs::remove_all(dir);
    fs::create_directories(dir / "data");

    NullPlatform n;
    n.keys = Script;
    n.closeAtMs = 60000;  // a safety net: the script quits long before
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    long roundUpdates = 0;
    int32_t lastFrame = 0;
    run.afterPass = [&](const GameState& g) {
        if (g.RoundFrame != lastFrame && g.RoundFrame != 0) roundUpdates += 1;
        lastFrame = g.RoundFrame;
    };
    EXPECT_EQ(RunProgramOn(NullPlatformHooks(n), run), 0);

    EXPECT_GE(n.clock, 16000u) << "quit by the script's Escape on the title";
    EXPECT_LT(n.clock, 17000u) << "quit by the script's Escape on the title";
    // 60 updates a second of clock time, every one drawn.
    EXPECT_NEAR(static_cast<double>(n.framesPresented), n.clock * 0.06, 60.0);
    // Every pass sampled the keys once; a round of about ten seconds (the
    // ready count, the Escape hold and the end screen).
    EXPECT_NEAR(static_cast<double>(n.samples), n.clock * 0.06, 60.0);
    EXPECT_GT(roundUpdates, 300);
    EXPECT_LT(roundUpdates, 900);
    EXPECT_TRUE(fs::exists(dir / "config.txt"));
    EXPECT_TRUE(fs::exists(dir / "data" / "scr.hsc"));
    fs::remove_all(dir);
}


// The screenshot key pressed at fixed clock times.
struct ScreenshotPresses {
    std::vector<uint32_t> at;
    size_t next = 0;
};

bool ScreenshotScript(ScreenshotPresses& s, uint32_t ms, PlayerCommand& command) {
    if (s.next >= s.at.size() || ms < s.at[s.next]) return false;
    s.next += 1;
    command = PlayerCommand::Screenshot;
    return true;
}

// F12 in a round costs the main loop a copy of the frame only: every
// picture is encoded and written by the writer thread, none on the loop's
// own, and none asked for is lost (as many as may wait at once, pressed
// half a second apart of the loop's clock, however slowly the writer goes).
TEST(NullPlatform, TheScreenshotKeyLeavesEncodingToTheWriterAndLosesNoPicture) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-null-screenshots";
    fs::remove_all(dir);
    fs::create_directories(dir / "data");

    ScreenshotPresses presses;
    for (size_t k = 0; k < kMaxPendingScreenshots; ++k) presses.at.push_back(static_cast<uint32_t>(4500 + 500 * k));
    NullPlatform n;
    n.keys = Script;
    n.commandAt = [&presses](uint32_t ms, PlayerCommand& command) { return ScreenshotScript(presses, ms, command); };
    n.closeAtMs = 60000;
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    const long encodedBefore = PngPicturesEncodedOnThisThread();
    EXPECT_EQ(RunProgramOn(NullPlatformHooks(n), run), 0);
    EXPECT_EQ(PngPicturesEncodedOnThisThread(), encodedBefore) << "the main loop encoded a picture itself";

    ASSERT_EQ(presses.next, presses.at.size()) << "the program ended before every press";
    std::vector<fs::path> pictures;
    if (fs::exists(dir / "screenshots"))
        for (const auto& e : fs::directory_iterator(dir / "screenshots")) pictures.push_back(e.path());
    EXPECT_EQ(pictures.size(), kMaxPendingScreenshots);
    for (const fs::path& p : pictures) {
        EXPECT_EQ(p.extension(), ".png");
        EXPECT_GT(fs::file_size(p), 1000u) << p;
    }
    fs::remove_all(dir);
}


// A keyboard player whose keys follow the round's own updates, so that the
// same round is played however long it is held in between; and who sends
// the player's commands at fixed clock times.
struct UpdateScriptedPlayer {
    std::vector<std::pair<uint32_t, PlayerCommand>> commands;
    size_t nextCommand = 0;
    bool paused = false;         // as the player's commands leave it
    bool inRound = false;        // after the last pass
    long updates = 0;            // round updates so far
    int32_t lastFrame = 0;
    uint32_t lastUpdateMs = 0;   // clock of the last round update
    std::vector<long> updatesAtCommands;

    void AfterPass(const GameState& g, uint32_t ms) {
        if (g.RoundFrame != lastFrame && g.RoundFrame != 0) {
            updates += 1;
            lastUpdateMs = ms;
        }
        lastFrame = g.RoundFrame;
        inRound = g.RunMode != RunTitle;
    }

    InputFrame Keys(uint32_t ms) const {
        InputFrame in;
        if (updates == 0 && ms >= 1000 && ms < 1100) in.held |= HostKeyBit(HostKey::Z);
        // Escape only on the title after the round, to quit.
        if (updates > 0 && !inRound && ms - lastUpdateMs > 3000) in.held |= HostKeyBit(HostKey::Escape);
        if (!inRound) return in;
        static constexpr int32_t kChoices[] = {0, KeyLeft, KeyRight, KeyUp, KeyDown, KeyKick, KeyJump,
                                               KeyTurnQ, KeyLeft | KeyUp, KeyRight | KeyKick, KeyTurnE};
        const uint32_t h = static_cast<uint32_t>(updates / 7) * 2654435761u;
        in.held |= FrameHoldingBits(kChoices[(h >> 16) % (sizeof kChoices / sizeof kChoices[0])]).held;
        return in;
    }

    bool CommandAt(uint32_t ms, PlayerCommand& command) {
        if (nextCommand >= commands.size() || ms < commands[nextCommand].first) return false;
        command = commands[nextCommand++].second;
        if (command == PlayerCommand::Pause) paused = !paused;
        if (command == PlayerCommand::FocusLost) paused = true;
        updatesAtCommands.push_back(updates);
        return true;
    }
};

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct PlayedRound {
    std::string replay;
    std::string scores;
    long updates = 0;
    uint32_t clock = 0;
    long frames = 0;
    std::vector<long> updatesAtCommands;
    std::vector<fs::path> screenshots;
};

PlayedRound PlayRound(const std::string& name, std::vector<std::pair<uint32_t, PlayerCommand>> commands) {
    const fs::path dir = fs::path(::testing::TempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    // Any score is a best score, so the round is saved as the replay.
    std::ofstream(dir / "data" / "scr.hsc", std::ios::binary) << "000000\r\n000000\r\n000000";

    NullPlatform n;
    UpdateScriptedPlayer player;
    player.commands = std::move(commands);
    n.keys = [&player](uint32_t ms) { return player.Keys(ms); };
    n.commandAt = [&player](uint32_t ms, PlayerCommand& c) { return player.CommandAt(ms, c); };
    n.closeAtMs = 400000;  // a safety net
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    run.afterPass = [&](const GameState& g) { player.AfterPass(g, n.clock); };
    EXPECT_EQ(RunProgramOn(NullPlatformHooks(n), run), 0);

    PlayedRound r;
    r.replay = FileBytes(dir / "data" / "replay.dat");
    r.scores = FileBytes(dir / "data" / "scr.hsc");
    r.updates = player.updates;
    r.clock = n.clock;
    r.frames = n.framesPresented;
    r.updatesAtCommands = player.updatesAtCommands;
    if (fs::exists(dir / "screenshots"))
        for (const auto& e : fs::directory_iterator(dir / "screenshots")) r.screenshots.push_back(e.path());
    return r;
}

// P and a lost focus hold a keyboard round: no update runs, the frames go on
// being shown, a second P resumes, and the round records and saves exactly
// what it would have without the pauses. F12 while paused writes a picture.
TEST(NullPlatform, APausedRoundRecordsTheSameRoundAsAnUnpausedOne) {
    const PlayedRound plain = PlayRound("mervox-unpaused", {});
    const PlayedRound paused = PlayRound("mervox-paused", {{6000, PlayerCommand::Pause},
                                                          {7000, PlayerCommand::Screenshot},
                                                          {9000, PlayerCommand::FocusLost},
                                                          {11000, PlayerCommand::Pause},
                                                          {20000, PlayerCommand::FocusLost},
                                                          {23000, PlayerCommand::Pause}});
    ASSERT_FALSE(plain.replay.empty()) << "the round was not saved as the replay";
    EXPECT_EQ(paused.replay, plain.replay);
    EXPECT_EQ(paused.scores, plain.scores);
    EXPECT_EQ(paused.updates, plain.updates);
    EXPECT_GT(plain.updates, 3600);

    // Held from 6 s to 11 s and from 20 s to 23 s of the clock.
    ASSERT_EQ(paused.updatesAtCommands.size(), 6u);
    EXPECT_GT(paused.updatesAtCommands[0], 0);
    EXPECT_EQ(paused.updatesAtCommands[3], paused.updatesAtCommands[0]);
    EXPECT_EQ(paused.updatesAtCommands[5], paused.updatesAtCommands[4]);
    EXPECT_NEAR(static_cast<double>(paused.updatesAtCommands[4] - paused.updatesAtCommands[3]), 9 * 60.0, 2.0);
    const double heldMs = static_cast<double>(paused.clock) - plain.clock;
    EXPECT_NEAR(heldMs, 8000.0, 100.0);
    // The paused frames are shown too.
    EXPECT_NEAR(static_cast<double>(paused.frames - plain.frames), heldMs * 0.06, 10.0);

    ASSERT_EQ(paused.screenshots.size(), 1u);
    EXPECT_GT(fs::file_size(paused.screenshots[0]), 1000u);
    EXPECT_TRUE(plain.screenshots.empty());
}

}  // namespace
}  // namespace mervox
