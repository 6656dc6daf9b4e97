// The keys as the screens name them ("Esc/O back", "Kick with Z"): each
// action's first key as the controls the program plays with bind it.
#pragma once

#include <string>

#include "save/controls_file.h"

namespace mervox {

// The key of `a` as the screens name it, from the controls the keys are
// bound by (names as bound: SDL's key names, "pad " and a button; drawing
// gets them in RenderResources::keys): the action's first key ("Escape"
// as "Esc", "Return" as "Enter", "Comma" as ","), or its first pad button
// when it has no key, or "-" when it has nothing. With `preferred` (a key
// name) the text names that key instead as long as it is one of the
// action's keys: a text that names a key other than the first (the
// start-up question's "Enter") stays as it is while that key works.
std::string BoundKeyName(const Controls& c, ControlAction a, const char* preferred = nullptr);

}  // namespace mervox
