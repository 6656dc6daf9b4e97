// Starting a played-back round outside the title: the program's start-up
// state, then the round start the title performs for a recording.
#pragma once

#include <cstdint>
#include <string>

#include "app/common/game_folder.h"
#include "game/state/game_state.h"

namespace mervox {

// The mode a recording plays in when no --mode is given: a file named as a
// practice round of the tutorial ("tuto-<frame>-<date>-<time>.dat") or the
// tutorial itself ("tuto.dat") in the tutorial's, any other in a game's.
RunModeValue DefaultModeFor(const std::string& recordingPath);

// Fresh program state, the start-up scene reset, then the round start with
// Playback on and the given RunMode and the recording loaded from the path.
// Returns false when the recording could not be opened (the round then
// plays an empty log, as a missing file does in the game).
bool StartPlaybackRound(GameState& g, RunModeValue runMode, const std::string& recordingPath);

// A round that has not ended after this many updates (over 46 hours of
// play) is taken to be stuck.
constexpr long kUpdateLimit = 10'000'000;

// How every run of a recording starts: the game folder the game itself
// would use, then the recording named (as given, or found in that folder)
// started as a playback round of RunMode `runMode` in `g`. False, having
// said why on stderr, when there is no game folder or the recording cannot
// be read. A run that draws nothing (`needsPictures` false) goes on without
// a game folder, in the current one.
bool OpenRecording(GameState& g, RunModeValue runMode, const std::string& named, GameFolder& folder,
                   std::string& recordingPath, bool needsPictures = true);

}  // namespace mervox
