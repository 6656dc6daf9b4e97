// Polled keys: a key counts as down while it is held, and also at its first
// poll after a press that was released before the poll came.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace mervox {

struct KeyboardState {
    uint8_t pressedSincePoll[SDL_NUM_SCANCODES];
    // SDL time of the last poll that found the key held: a queued press
    // from before then has been seen already and marks nothing.
    uint32_t seenHeldAt[SDL_NUM_SCANCODES];
    uint32_t lastRefreshMs;
};

void ResetKeyboard(KeyboardState& k);

// Called by the message pump for every key press it takes from the queue,
// with the event's SDL timestamp.
// Codes are SDL_Scancode numbers as an int: one read from controls.txt or
// from an event may be any number, and is never down outside SDL's range.
void NoteKeyPress(KeyboardState& k, int code, uint32_t timestamp);

// True when the key is held now or was pressed since its last poll; clears
// the "pressed since" mark. Refreshes SDL's key state at most once a
// millisecond, so held keys are seen even in passes that pump no messages.
bool PollKey(KeyboardState& k, int code);

// The state of a key as held right now, without touching the marks.
bool KeyHeld(int code);

}  // namespace mervox
