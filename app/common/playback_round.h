// Starting a played-back round outside the title: the program's start-up
// state, then the round start the title performs for a recording.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

// Fresh program state, the start-up scene reset, then the round start with
// Playback 1 and the given RunMode and the recording loaded from the path.
// Returns false when the recording could not be opened (the round then
// plays an empty log, as a missing file does in the game).
bool StartPlaybackRound(GameState& g, int runMode, const std::string& recordingPath);

}  // namespace mervox
