// The start-up question ("full screen?") asked in the game's window before
// the program starts, drawn with the palette and the words' fonts only.
#pragma once

#include <string>

#include "platform/fullscreen_question.h"
#include "platform/player_input.h"
#include "platform/window.h"

namespace mervox {

// Asks in `window` with the player's keys; the language and colour marks
// follow baseDir/options.txt. MERVOX_RUN_LOG notes the answer on stderr.
QuestionAnswer AskInTheWindow(ProgramWindow& window, const PlayerInput& keys, const std::string& baseDir);

}  // namespace mervox
