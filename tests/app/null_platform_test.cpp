// The whole program (title, a keyboard round, the end, the saving) run on
// the null platform, driven by a key script on its clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/null_platform.h"
#include "app/program.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

// Z on the title starts a game; Escape held in the round ends it; Escape
// on the title afterwards quits.
bool Script(void*, uint32_t ms, HostKey key) {
    if (key == HostKey::Z) return ms >= 1000 && ms < 1100;
    if (key == HostKey::Escape) return (ms >= 8000 && ms < 10000) || (ms >= 16000 && ms < 16100);
    return false;
}

TEST(NullPlatform, TheProgramPlaysARoundAndQuitsWithNoWindowNoWaitingNoSound) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-null-platform";
    fs::remove_all(dir);
    fs::create_directories(dir / "data");

    NullPlatform n;
    n.keyHeld = Script;
    n.closeAtMs = 60000;  // a safety net: the script quits long before
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    EXPECT_EQ(RunProgramOn(NullPlatformHooks(n), run), 0);

    EXPECT_GE(n.clock, 16000u) << "quit by the script's Escape on the title";
    EXPECT_LT(n.clock, 17000u) << "quit by the script's Escape on the title";
    // 60 updates a second of clock time, every one drawn.
    EXPECT_NEAR(static_cast<double>(n.framesPresented), n.clock * 0.06, 60.0);
    // Only a round polls the arrow keys, once an update: a round of about
    // ten seconds (the ready count, the Escape hold and the end screen).
    const long roundUpdates = n.keyPolls[static_cast<int>(HostKey::Left)];
    EXPECT_GT(roundUpdates, 300);
    EXPECT_LT(roundUpdates, 900);
    EXPECT_TRUE(fs::exists(dir / "config.txt"));
    EXPECT_TRUE(fs::exists(dir / "data" / "scr.hsc"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mervox
