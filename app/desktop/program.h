// The game on any platform: the main loop over the title and the rounds
// (the desktop's window around it: app/desktop/game_window.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/services/program_platform.h"
#include "game/round_host.h"
#include "net/board_sender.h"
#include "platform/player_command.h"
#include "save/controls_file.h"
#include "title/options_screen.h"

namespace mervox {

struct GameState;

struct ProgramRun {
    std::string baseDir = ".";  // the game folder
    ScreenModeValue screenMode = ScreenWindowed;
    bool sound = true;          // open the sound output and load the sounds
    bool inWindow = false;      // the player's window: the language may follow the desktop's
    // The keys the screens' words name, as the platform binds them
    // (BoundNames of its bindings).
    Controls keys = DefaultControls();
    // Called after every pass of the main loop with the state it left (the
    // soak's checks and its key script); may be empty. It only reads.
    std::function<void(const GameState& g)> afterPass;
    // The score board sender's waits (null: the game's own); tests shorten them.
    const SendTiming* boardTiming = nullptr;
};

// The program from the window's opening to its orderly end: the title and
// the rounds until the player quits, then the settings and the high scores
// saved and the sound released. Returns the exit status.
int RunProgramOn(const ProgramPlatform& platform, const ProgramRun& run);

}  // namespace mervox
