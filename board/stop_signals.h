// How the board's long-running commands end: SIGTERM or SIGINT, waited for
// by the main thread alone.
#pragma once

#include <signal.h>

namespace mervox::board {

// Blocks SIGTERM and SIGINT in this thread, so every thread started from
// here on has them blocked and only a sigwait on the set returned takes
// them, and ignores SIGPIPE (a client gone mid-answer).
sigset_t BlockStopSignals();

}  // namespace mervox::board
