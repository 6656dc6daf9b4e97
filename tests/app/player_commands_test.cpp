// What the player asks of the program outside the game's keys: which
// rounds a pause may hold, and the screenshot's file names.
#include <gtest/gtest.h>

#include <memory>

#include "app/desktop/pause.h"
#include "app/services/screenshot.h"
#include "game/simulation.h"

namespace mervox {
namespace {

TEST(PlayerCommands, OnlyAKeyboardRoundPausesAndAPauseEndsWithItsRound) {
    auto g = std::make_unique<GameState>();
    PauseState s;
    for (RunModeValue mode : {RunReplay, RunTutorial, RunDemo1, RunDemo2}) {
        StartRoundOutsideTitle(*g, mode, PlaybackOff);
        EXPECT_FALSE(ApplyPauseCommand(s, *g, PlayerCommand::Pause)) << "run mode " << mode;
        EXPECT_FALSE(ApplyPauseCommand(s, *g, PlayerCommand::FocusLost)) << "run mode " << mode;
        EXPECT_FALSE(EndStalePause(s, *g));
    }
    StartRoundOutsideTitle(*g, RunGame, PlaybackOn);  // a replay started with R
    EXPECT_FALSE(ApplyPauseCommand(s, *g, PlayerCommand::Pause));

    StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
    EXPECT_FALSE(ApplyPauseCommand(s, *g, PlayerCommand::Screenshot));
    EXPECT_TRUE(ApplyPauseCommand(s, *g, PlayerCommand::FocusLost));
    EXPECT_FALSE(ApplyPauseCommand(s, *g, PlayerCommand::FocusLost)) << "focus loss never resumes";
    EXPECT_TRUE(EndStalePause(s, *g));
    EXPECT_TRUE(ApplyPauseCommand(s, *g, PlayerCommand::Pause));
    EXPECT_FALSE(EndStalePause(s, *g));
    EXPECT_TRUE(ApplyPauseCommand(s, *g, PlayerCommand::Pause));
    g->RunMode = RunTitle;
    EXPECT_FALSE(EndStalePause(s, *g));
    EXPECT_FALSE(s.paused);
}

TEST(PlayerCommands, ScreenshotNamesCarryTheLocalTimeAndASerialWithinOneSecond) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 9;
    t.tm_hour = 7;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(ScreenshotFileName(t, 1), "mervox-20260109-070503.png");
    EXPECT_EQ(ScreenshotFileName(t, 2), "mervox-20260109-070503-2.png");
}

}  // namespace
}  // namespace mervox
