// The start-up load and the save of the settings and the high scores.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

// Reads config.txt (creating it when missing) and data/scr.hsc under
// baseDir, then writes both back in the program's own form.
void LoadConfigAndScores(GameState& g, const std::string& baseDir);

// Writes data/scr.hsc, then config.txt. A file that cannot be written is
// left as it was and the values stay in memory; returns false then.
bool SaveScoresAndConfig(const GameState& g, const std::string& baseDir);

}  // namespace mervox
