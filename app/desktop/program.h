// The game as a player runs it: window, main loop, title, rounds.
#pragma once

#include <cstdint>
#include <string>

#include "app/common/command_line.h"
#include "game/round_host.h"
#include "net/board_sender.h"
#include "platform/player_command.h"
#include "save/controls_file.h"
#include "title/options_screen.h"

namespace mervox {

struct GameState;

int RunProgram(const CommandLine& cmd);

// What the program hands the machine it runs on while the main loop runs.
struct PlatformEvents {
    int32_t* quitRequested = nullptr;  // set when the window is closed
    void* ctx = nullptr;
    // The program's own events (the music's finished buffer).
    void (*onUserEvent)(void* ctx, uint32_t type, int32_t code) = nullptr;
    // Pause, screenshot, focus loss.
    void (*onCommand)(void* ctx, PlayerCommand command) = nullptr;
};

// The machine the main loop runs on: the window and its events, the
// keyboard and the clock. On the desktop these are the window, the SDL
// keyboard and the millisecond clock; a null platform runs the same loop
// with no window, no waiting and no sound device (a clock that waiting
// moves on at once, keys from a script, frames only counted).
struct ProgramPlatform {
    void* ctx = nullptr;
    void (*connect)(void* ctx, const PlatformEvents& events) = nullptr;
    uint32_t (*clockMs)(void* ctx) = nullptr;
    // Dispatches events for the milliseconds given (the only waiting).
    void (*pumpMessagesFor)(void* ctx, int milliseconds) = nullptr;
    // The round's and the title's keys.
    bool (*keyDown)(void* ctx, HostKey key) = nullptr;
    // The viewer's keys while a recording is watched and the title's
    // options screen's (held now or pressed since the last poll); null: no
    // viewer keys, and the options screen never opens.
    bool (*actionDown)(void* ctx, ControlAction action) = nullptr;
    void (*presentFrame)(void* ctx, const uint32_t* frame) = nullptr;
    // The drawing scale the window wants for the next frame in the drawing
    // style chosen (null: 1); the frame presented next is drawn at the
    // scale it last answered.
    int (*drawScale)(void* ctx, DrawingStyle drawing) = nullptr;
    // Before the first title frame: blackens a full-screen window, waits
    // until Z, R and Escape are up and forgets the presses queued
    // meanwhile. May be null.
    void (*beforeTitle)(void* ctx, uint16_t screenMode) = nullptr;
};

struct ProgramRun {
    std::string baseDir = ".";  // the game folder
    uint16_t screenMode = 0;
    bool sound = true;          // open the sound output and load the sounds
    bool inWindow = false;      // the player's window: the language may follow the desktop's
    // Called after every pass of the main loop with the state it left (the
    // soak's checks and its key script); may be null. It only reads.
    void* watchCtx = nullptr;
    void (*afterPass)(void* ctx, const GameState& g) = nullptr;
    // The score board sender's waits (null: the game's own); tests shorten them.
    const SendTiming* boardTiming = nullptr;
};

// The program from the window's opening to its orderly end: the title and
// the rounds until the player quits, then the settings and the high scores
// saved and the sound released. Returns the exit status.
int RunProgramOn(const ProgramPlatform& platform, const ProgramRun& run);

}  // namespace mervox
