#include "platform/keyboard.h"

#include <cstring>

#include "platform/clock.h"

namespace mervox {

void ResetKeyboard(KeyboardState& k) {
    std::memset(k.pressedSincePoll, 0, sizeof k.pressedSincePoll);
    std::memset(k.seenHeldAt, 0, sizeof k.seenHeldAt);
    k.lastRefreshMs = ClockMs() - 1;
}

void NoteKeyPress(KeyboardState& k, SDL_Scancode code, uint32_t timestamp) {
    if (code <= SDL_SCANCODE_UNKNOWN || code >= SDL_NUM_SCANCODES) return;
    if (k.seenHeldAt[code] != 0 && static_cast<int32_t>(timestamp - k.seenHeldAt[code]) <= 0) return;
    k.pressedSincePoll[code] = 1;
}

bool KeyHeld(SDL_Scancode code) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    return code >= 0 && code < count && keys[code] != 0;
}

bool PollKey(KeyboardState& k, SDL_Scancode code) {
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

SDL_Scancode ScancodeOf(HostKey key) {
    switch (key) {
        case HostKey::Left: return SDL_SCANCODE_LEFT;
        case HostKey::Up: return SDL_SCANCODE_UP;
        case HostKey::Right: return SDL_SCANCODE_RIGHT;
        case HostKey::Down: return SDL_SCANCODE_DOWN;
        case HostKey::Z: return SDL_SCANCODE_Z;
        case HostKey::X: return SDL_SCANCODE_X;
        case HostKey::Q: return SDL_SCANCODE_Q;
        case HostKey::E: return SDL_SCANCODE_E;
        case HostKey::R: return SDL_SCANCODE_R;
        case HostKey::F: return SDL_SCANCODE_F;
        case HostKey::B: return SDL_SCANCODE_B;
        case HostKey::S: return SDL_SCANCODE_S;
        case HostKey::Ctrl: return SDL_SCANCODE_LCTRL;
        case HostKey::Escape: return SDL_SCANCODE_ESCAPE;
        case HostKey::Space: return SDL_SCANCODE_SPACE;
        case HostKey::Period: return SDL_SCANCODE_PERIOD;
        case HostKey::Comma: return SDL_SCANCODE_COMMA;
        case HostKey::Minus: return SDL_SCANCODE_MINUS;
        case HostKey::Equals: return SDL_SCANCODE_EQUALS;
        case HostKey::Home: return SDL_SCANCODE_HOME;
        case HostKey::End: return SDL_SCANCODE_END;
        case HostKey::PageUp: return SDL_SCANCODE_PAGEUP;
        case HostKey::PageDown: return SDL_SCANCODE_PAGEDOWN;
        case HostKey::H: return SDL_SCANCODE_H;
        case HostKey::Return: return SDL_SCANCODE_RETURN;
        case HostKey::Backspace: return SDL_SCANCODE_BACKSPACE;
    }
    return SDL_SCANCODE_UNKNOWN;
}

bool PollHostKey(KeyboardState& k, HostKey key) {
    if (key == HostKey::Ctrl) {
        const bool left = PollKey(k, SDL_SCANCODE_LCTRL);
        const bool right = PollKey(k, SDL_SCANCODE_RCTRL);
        return left || right;
    }
    return PollKey(k, ScancodeOf(key));
}

void WaitUntilKeysUp(std::initializer_list<HostKey> keys) {
    for (;;) {
        SDL_PumpEvents();
        bool held = false;
        for (HostKey key : keys) held = held || KeyHeld(ScancodeOf(key));
        if (!held) break;
        SleepOneTick();
    }
    SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
}

}  // namespace mervox
