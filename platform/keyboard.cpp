#include "platform/keyboard.h"

#include <cstring>

#include "platform/clock.h"

namespace mervox {

void ResetKeyboard(KeyboardState& k) {
    std::memset(k.pressedSincePoll, 0, sizeof k.pressedSincePoll);
    std::memset(k.seenHeldAt, 0, sizeof k.seenHeldAt);
    k.lastRefreshMs = ClockMs() - 1;
}

void NoteKeyPress(KeyboardState& k, int code, uint32_t timestamp) {
    if (code <= SDL_SCANCODE_UNKNOWN || code >= SDL_NUM_SCANCODES) return;
    if (k.seenHeldAt[code] != 0 && static_cast<int32_t>(timestamp - k.seenHeldAt[code]) <= 0) return;
    k.pressedSincePoll[code] = 1;
}

bool KeyHeld(int code) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    return code >= 0 && code < count && keys[code] != 0;
}

bool PollKey(KeyboardState& k, int code) {
    if (code <= SDL_SCANCODE_UNKNOWN || code >= SDL_NUM_SCANCODES) return false;
    const uint32_t now = ClockMs();
    if (now != k.lastRefreshMs) {
        k.lastRefreshMs = now;
        SDL_PumpEvents();
    }
    const bool pressed = k.pressedSincePoll[code] != 0;
    k.pressedSincePoll[code] = 0;
    if (KeyHeld(code)) {
        k.seenHeldAt[code] = SDL_GetTicks() | 1u;
        return true;
    }
    return pressed;
}

}  // namespace mervox
