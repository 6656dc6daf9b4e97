// `--watch`'s loop: the viewer alone in a window, on any platform.
#pragma once

#include <functional>
#include <string>

#include "app/services/program_platform.h"
#include "game/state/game_state.h"
#include "save/controls_file.h"

namespace mervox {

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
    // The keys the overlay names, as the platform binds them.
    Controls keys = DefaultControls();
};

// The viewer's window loop on any platform: 60 passes a second, a drawing
// every pass, Escape or closing the window ends it. A practice round ends
// it too when it ends; its recording is saved either way. Returns the exit
// status: 1 when the recording cannot be watched or the practice round not
// saved.
int RunWatchOn(const ProgramPlatform& platform, const WatchPointer& pointer, const WatchRun& run);

}  // namespace mervox
