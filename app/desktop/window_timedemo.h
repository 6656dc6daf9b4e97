// --timedemo FILE with --fullscreen or --windowed: a recorded round played
// in the game's own window, the stages of every frame timed.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// Plays the recording in a window (full screen on the desktop with
// --fullscreen, else a window of --scale) drawn at the scale the window
// wants, as the game draws, and prints the time per frame of drawing,
// uploading the picture to the renderer, showing it and the whole, as
// median and 95th and 99th percentile. Frames follow each other as fast
// as they can, or at the game's own pacing with --paced, which also prints
// the time between passes. Returns the exit status.
int RunWindowTimedemo(const CommandLine& cmd);

}  // namespace mervox
