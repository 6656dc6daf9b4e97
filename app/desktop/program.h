// The game as a player runs it: window, main loop, title, rounds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/common/command_line.h"
#include "save/action_frame.h"
#include "platform/pump_listener.h"
#include "game/round_host.h"
#include "net/board_sender.h"
#include "platform/player_command.h"
#include "save/controls_file.h"
#include "title/options_screen.h"

namespace mervox {

struct GameState;

int RunProgram(const CommandLine& cmd);

// What the program hands the machine it runs on while the main loop runs:
// where the window's closing is noted and who hears its other events.
struct PlatformEvents {
    int32_t* quitRequested = nullptr;  // set when the window is closed
    PumpListener* listener = nullptr;  // the music's finished buffers; pause, screenshot, focus loss
};

// The machine the main loop runs on: the window and its events, the
// keyboard and the clock. On the desktop these are the window, the SDL
// keyboard and pads and the millisecond clock; a null platform runs the
// same loop with no window, no waiting and no sound device (a clock that
// waiting moves on at once, keys from a script, frames only counted).
class ProgramPlatform {
public:
    virtual ~ProgramPlatform() = default;
    virtual void connect(const PlatformEvents& /*events*/) const {}
    virtual uint32_t clockMs() const = 0;
    // Dispatches events for the milliseconds given (the only waiting).
    virtual void pumpMessagesFor(int milliseconds) const = 0;
    // Every action as the pass begins: held now, or pressed since the last
    // sample. Called once a pass, before its update.
    virtual ActionFrame sampleInput() const { return ActionFrame{}; }
    // Whether the samples carry the player's own actions (the viewer's
    // keys and the options screen's); without them the options screen
    // never opens.
    virtual bool readsPlayerActions() const { return false; }
    virtual void presentFrame(const uint32_t* /*frame*/) const {}
    // The drawing scale the window wants for the next frame in the drawing
    // style chosen; the frame presented next is drawn at the scale it last
    // answered.
    virtual int drawScale(DrawingStyle /*drawing*/) const { return 1; }
    // Before the first title frame: blackens a full-screen window, waits
    // until Z, R and Escape are up and forgets the presses queued
    // meanwhile.
    virtual void beforeTitle(ScreenModeValue /*screenMode*/) const {}
};

struct ProgramRun {
    std::string baseDir = ".";  // the game folder
    ScreenModeValue screenMode = ScreenWindowed;
    bool sound = true;          // open the sound output and load the sounds
    bool inWindow = false;      // the player's window: the language may follow the desktop's
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
