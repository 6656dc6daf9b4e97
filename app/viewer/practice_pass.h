// One pass of a practice round, the same in the game's viewer and in
// --watch: the practice keys (the rewinds), then Escape leaves the round as
// it stands or the round plays one update with the player's round keys.
#pragma once

#include "app/viewer/watch_session.h"
#include "game/round_host.h"
#include "save/action_frame.h"

namespace mervox {

// The pass of the practice round `s` plays on `s.g`, heard through `host`.
// `keysRead`: the practice keys were read already in this pass (the pass
// that took the round over). Escape leaving it goes to the title, which
// waits for Escape to be let go (held there it would quit the game), with
// the music stopped. Returns whether the practice round is over, left or
// at its own end: its recording is then for FinishPractice.
bool PracticePass(WatchSession& s, const RoundHost& host, const ActionFrame& in, bool keysRead = false);

}  // namespace mervox
