// The program's only way of waiting: dispatches the window's events while
// the time passes, one millisecond sleep per pass. Window events are
// handled nowhere else, so a repaint, a focus change or the music's
// buffer report never interrupts an update.
#pragma once

#include <cstdint>

#include "platform/pump_listener.h"
#include "platform/player_input.h"
#include "platform/pointer.h"
#include "platform/window.h"

namespace mervox {

struct MessagePump {
    ProgramWindow* window = nullptr;
    // The keys' and pads' taps and the bindings, which name the keys of the
    // commands; null: no keys, no pads and no key commands.
    PlayerInput* input = nullptr;
    int32_t* quitRequested = nullptr;  // set when the window is closed
    PumpListener* listener = nullptr;  // may be null
    PointerState* pointer = nullptr;   // the mouse's presses; may be null
};

// Handles every event waiting in the queue.
void DispatchPendingMessages(MessagePump& p);

// Dispatches events until `wait` milliseconds have passed since the call,
// sleeping about 1 ms between passes. A wait of 0 makes one pass without
// sleeping; a negative wait (a frame over its budget) one pass and one
// sleep.
void PumpMessagesFor(MessagePump& p, int wait);

}  // namespace mervox
