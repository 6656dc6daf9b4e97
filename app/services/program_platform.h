// The machine a loop of the program runs on, as the game's frame loop and
// the viewer's window loop both see it: the window and its events, the
// keyboard and the pads sampled once a pass, the clock.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"
#include "platform/pump_listener.h"
#include "save/action_frame.h"
#include "save/options_file.h"

namespace mervox {

// What a loop hands the machine it runs on while it runs: where the
// window's closing is noted and who hears its other events.
struct PlatformEvents {
    int32_t* quitRequested = nullptr;  // set when the window is closed
    PumpListener* listener = nullptr;  // the music's finished buffers; pause, screenshot, focus loss
};

// On the desktop these are the window, the SDL keyboard and pads and the
// millisecond clock; a null platform runs the same loop with no window, no
// waiting and no sound device (a clock that waiting moves on at once, keys
// from a script, frames only counted).
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

}  // namespace mervox
