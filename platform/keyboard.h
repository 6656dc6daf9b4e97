// Polled keys: a key counts as down while it is held, and also at its first
// poll after a press that was released before the poll came.
#pragma once

#include <SDL.h>

#include <initializer_list>

#include "game/round_host.h"

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
void NoteKeyPress(KeyboardState& k, SDL_Scancode code, uint32_t timestamp);

// True when the key is held now or was pressed since its last poll; clears
// the "pressed since" mark. Refreshes SDL's key state at most once a
// millisecond, so held keys are seen even in passes that pump no messages.
bool PollKey(KeyboardState& k, SDL_Scancode code);

// The state of a key as held right now, without touching the marks.
bool KeyHeld(SDL_Scancode code);

// The key a HostKey stands for on the keyboard (Ctrl: the left one).
SDL_Scancode ScancodeOf(HostKey key);

// PollKey for the key a round or the title asks about; Ctrl is either Ctrl
// key (both are polled).
bool PollHostKey(KeyboardState& k, HostKey key);

// Waits, sleeping a tick at a time, until none of the keys is held, then
// forgets the key presses queued meanwhile.
void WaitUntilKeysUp(std::initializer_list<HostKey> keys);

}  // namespace mervox
