// The keyboard as SDL last saw it.
#pragma once

namespace mervox {

// Whether the key (an SDL_Scancode as an int: one read from controls.txt or
// from an event may be any number, and is never held outside SDL's range)
// is held in SDL's key state, which follows the events taken from the
// queue.
bool KeyHeld(int code);

}  // namespace mervox
