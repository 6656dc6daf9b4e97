// The keyboard keys and pad buttons of the game's own small screens.
#pragma once

#include "game/menu_key.h"
#include "platform/player_input.h"

namespace mervox {

// PollAction for the action of controls.txt that `key` stands for (the
// left stick moves like the d-pad).
bool PollMenuKey(PlayerInput& in, MenuKey key);

}  // namespace mervox
