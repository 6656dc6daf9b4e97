// The program's only way of waiting: dispatches the window's events while
// the time passes, one millisecond sleep per pass. Window events are
// handled nowhere else, so a repaint, a focus change or the music's
// buffer report never interrupts an update.
#pragma once

#include <cstdint>

#include "platform/keyboard.h"
#include "platform/player_command.h"
#include "platform/player_input.h"
#include "platform/window.h"

namespace mervox {

struct MessagePump {
    ProgramWindow* window = nullptr;
    KeyboardState* keyboard = nullptr;
    // The pads and the bindings, which name the keys of the commands;
    // null: no pads and no key commands.
    PlayerInput* input = nullptr;
    int32_t* quitRequested = nullptr;  // set when the window is closed
    // Events the program registered for itself (the music's "buffer done"
    // report), by their registered type and their code; may be null.
    void* ctx = nullptr;
    void (*onUserEvent)(void* ctx, uint32_t type, int32_t code) = nullptr;
    // The pause and screenshot keys and focus loss, as they are taken from
    // the queue; may be null.
    void (*onCommand)(void* ctx, PlayerCommand command) = nullptr;
};

// Handles every event waiting in the queue.
void DispatchPendingMessages(MessagePump& p);

// Dispatches events until `wait` milliseconds have passed since the call,
// sleeping about 1 ms between passes. A wait of 0 makes one pass without
// sleeping; a negative wait (a frame over its budget) one pass and one
// sleep.
void PumpMessagesFor(MessagePump& p, int wait);

}  // namespace mervox
