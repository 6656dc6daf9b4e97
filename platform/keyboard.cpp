#include "platform/keyboard.h"

#include <SDL.h>

namespace mervox {

bool KeyHeld(int code) {
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    return code > SDL_SCANCODE_UNKNOWN && code < count && keys[code] != 0;
}

}  // namespace mervox
