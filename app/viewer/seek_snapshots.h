// Seeking in a played-back round: the round is one plain value, so a copy
// of it every few updates lets the viewer jump to any update at once. A
// seek restores the nearest earlier copy and plays forward from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// Updates between two snapshots. At this spacing a seek plays at most 119
// updates after the copy (about 0.3 ms on a busy board, far under the
// 50 ms a seek may take) and a snapshot of the longest round costs a few
// megabytes.
constexpr int kSnapshotInterval = 120;

// A round's state at one frame: the whole simulated state, a plain copy.
// The recording (GameState::InputLog), which a played-back round only
// reads, is not in it.
struct RoundSnapshot {
    SimulatedState state;
};

// What one snapshot costs.
constexpr size_t kSnapshotSize = sizeof(RoundSnapshot);

void TakeSnapshot(const GameState& g, RoundSnapshot& s);
// Puts the snapshot's state back into `g`, whose recording must be that of
// the round the snapshot was taken from.
void RestoreSnapshot(const RoundSnapshot& s, GameState& g);
// The same, leaving the main loop's own fields (frame skip and phase, fast
// forward, screen mode, frame rate shown, quit request) as they are.
void RestoreSnapshotKeepingLoop(const RoundSnapshot& s, GameState& g);

enum class MarkKind : uint8_t { LevelUp, ChainLink };

struct TimelineMark {
    int frame;      // RoundFrame after the update that made it
    MarkKind kind;
};

// A played-back round measured from start to end by one headless pass:
// its length, snapshots every `interval` updates and the marks.
struct RoundTimeline {
    int interval = kSnapshotInterval;
    int lastFrame = 0;  // RoundFrame after the update that ends the round
    // [k]: the state at frame k * interval. A deque: each snapshot keeps
    // its place as more are added, so none is copied again.
    std::deque<RoundSnapshot> snapshots;
    std::vector<TimelineMark> marks;       // in frame order
    size_t SnapshotBytes() const;
};

// Plays the round `start` (a playback round as StartPlaybackRound leaves
// it, at frame 0) to its end with no keys held and nothing heard, taking
// snapshots and marks on the way. `updateLimit` guards a round that does
// not end. Returns false when the round has not ended by then.
bool MeasureRound(const GameState& start, int interval, RoundTimeline& out, long updateLimit = 10'000'000);

// The host a watched round plays with: no keys (the recording alone drives
// it, Ctrl, Z and Escape of a playback round are the viewer's own), no
// sound, no saving.
const RoundHost& SilentHost();

// Brings `g` (a state of the measured round, with its recording loaded) to
// the given frame, clamped to 0..lastFrame: from the current state when the
// target lies ahead by less than the snapshot interval, else from the
// nearest snapshot at or before it. Effects started by the updates played
// go to `host` (use SilentHost() to hear nothing). Returns the updates
// played.
int SeekRound(const RoundTimeline& t, GameState& g, int frame, const RoundHost& host);

// The marks before and after a frame; -1 when there is none.
int PreviousMark(const RoundTimeline& t, int frame);
int NextMark(const RoundTimeline& t, int frame);

}  // namespace mervox
