// `mervox --export FILE --out CLIP`: a recording to a video file from the
// command line, with a progress line on a terminal and Ctrl+C to stop.
#pragma once

#include "app/common/command_line.h"

namespace mervox {

// Returns the exit status: 0 written, 1 failed (said on stderr, no file
// left), 130 stopped by Ctrl+C (the partial file removed).
int RunExport(const CommandLine& cmd);

}  // namespace mervox
