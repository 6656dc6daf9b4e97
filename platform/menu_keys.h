// The keyboard keys and pad buttons of the game's own small screens.
#pragma once

#include "game/menu_key.h"
#include "platform/player_input.h"

namespace mervox {

// True when a key or pad input of `key` is held now or was pressed since
// its last poll (its marks are cleared). The left stick moves like the
// d-pad.
bool PollMenuKey(PlayerInput& in, MenuKey key);

}  // namespace mervox
