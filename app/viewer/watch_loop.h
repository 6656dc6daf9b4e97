// The viewer's keys and its loop: the viewer over a round the title plays
// back, and --watch's own window loop on any platform.
#pragma once

#include <functional>
#include <string>

#include "app/desktop/program.h"
#include "app/viewer/watch_session.h"
#include "game/round_host.h"
#include "game/state/game_state.h"
#include "save/controls_file.h"

namespace mervox {

// Applies the commands of the viewer's keys just pressed in the pass, or
// held long enough to repeat.
void ReadWatchKeys(WatchSession& s, const ActionFrame& in);

// The same for the practice keys (take over while watching, the rewinds
// while practising).
void ReadPracticeKeys(WatchSession& s, const ActionFrame& in);

// A playback round started by the title (the replay, the tutorial, the
// demonstrations) under the viewer's keys: called by the program instead of
// UpdateRound for such a round. The round is measured at its first update.
// Paused, it does not update; slow and fast it updates less or more often,
// with effects and voices heard at normal speed only. The overlay appears
// with the first viewer key pressed in `in`, the pass's actions. The
// round's own keys (Ctrl, Z, Escape) keep their meaning while it plays.
// Taken over, it is the player's practice round until it ends or Escape
// leaves it for the title (which waits for Escape to be let go).
void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host, const ActionFrame& in);

// A pointer (mouse) for the timeline: picture coordinates of the shown
// frame (0, 0 is the picture's top left) and whether the button is held.
// Empty: no pointer.
using WatchPointer = std::function<bool(int& x, int& y)>;

struct WatchRun {
    std::string baseDir = ".";
    std::string path;
    RunModeValue mode = RunGame;
    int at = -1;
    bool sound = false;  // effects, voices and music through the program's sound system
    // The player's settings from config.txt, heard when `sound` is on.
    int bgmMode = SoundOn;
    int seMode = SoundOn;
    bool takeOver = false;  // hand the round to the player at `at` at once
};

// The viewer's window loop on any platform: 60 passes a second, a drawing
// every pass, Escape or closing the window ends it.
int RunWatchOn(const ProgramPlatform& platform, const WatchPointer& pointer, const WatchRun& run);

}  // namespace mervox
