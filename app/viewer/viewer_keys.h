// The viewer's keys read from the pass's actions: the watching keys (pause,
// steps, speed, seeks, marks, the overlay, the clip) and the practice keys
// (take over while watching, the rewinds while practising). One rule for a
// key held down serves them all: its command fires in the pass it is
// pressed, and a repeating key's again after a delay, every few passes.
// The steps, seeks and the practice's back 5 s answer every press counted
// in a pass: keys tapped faster than the passes (a tool typing for the
// player) lose no step.
#pragma once

#include "app/viewer/watch_session.h"
#include "save/action_frame.h"

namespace mervox {

// Passes a repeating key is held before it repeats.
constexpr int kRepeatDelay = 20;
// Passes between repeats of a held watching key (steps and seeks) and of a
// held rewind while practising.
constexpr int kWatchRepeatEvery = 3;
constexpr int kRewindRepeatEvery = 6;

// The one rule for a held key: counts in `heldPasses` the passes it has
// been down (1: pressed in this pass, or let go and pressed again within
// it) and says whether its command fires now: when pressed, and, when
// `repeatEvery` is not 0, every `repeatEvery` passes once it has been held
// kRepeatDelay passes.
bool HeldKeyFires(int& heldPasses, bool down, bool pressedAgain, int repeatEvery);

// Applies the commands of the viewer's keys just pressed in the pass, or
// held long enough to repeat.
void ReadWatchKeys(WatchSession& s, const ActionFrame& in);

// The same for the practice keys (take over while watching, the rewinds
// while practising).
void ReadPracticeKeys(WatchSession& s, const ActionFrame& in);

}  // namespace mervox
