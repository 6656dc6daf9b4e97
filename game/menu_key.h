// The keys of the game's own small screens (the title's options screen),
// named apart from the round's keys: the program maps each to keyboard keys
// and pad buttons.
#pragma once

namespace mervox {

enum class MenuKey { Options, Up, Down, Left, Right, Change, Back };
constexpr int kMenuKeyCount = 7;

}  // namespace mervox
