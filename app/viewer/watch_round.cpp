#include "app/viewer/watch_round.h"

#include <cstdio>

#include "app/viewer/practice_pass.h"
#include "app/viewer/viewer_keys.h"
#include "save/input_log_file.h"

namespace mervox {

namespace {

// The practice round's pass; at its end the recording is saved.
void PracticeRoundPass(WatchSession& s, const RoundHost& host, const ActionFrame& in, bool keysRead) {
    if (!PracticePass(s, host, in, keysRead)) return;
    const bool saved = FinishPractice(s);
    std::fprintf(saved ? stdout : stderr, "mervox: %s\n", s.closingNote.c_str());
}

// A round the viewer has not seen yet (or one started again): measured,
// shown at 1x from its start, with no clip marked.
void StartWatchingRound(WatchSession& s, GameState& g) {
    const bool overlay = s.g == &g && s.overlay;
    s.own.reset();
    s.g = &g;
    s.live = true;
    s.paused = false;
    s.speed = kNormalSpeed;
    s.quarters = 0;
    s.overlay = overlay;
    s.path = InputLogFileName(g.RunMode);
    for (int& n : s.heldPasses) n = 0;
    s.clip.start = s.clip.end = -1;  // marks belong to the round they were made in
    if (!MeasureRound(g, kSnapshotInterval, s.timeline)) s.timeline = RoundTimeline{};
}

}  // namespace

void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host, const ActionFrame& in) {
    if (s.mode == ViewerMode::Practising && s.g == &g) {
        PracticeRoundPass(s, host, in, false);
        return;
    }
    if (g.RoundFrame > 0) s.seekedToStart = false;
    if (s.g != &g || (g.RoundFrame == 0 && !s.seekedToStart)) StartWatchingRound(s, g);
    if (!s.timeline.snapshots.empty()) {
        const int before = WatchFrame(s);
        const bool pausedBefore = s.paused;
        const int speedBefore = s.speed;
        const bool overlayBefore = s.overlay;
        ReadWatchKeys(s, in);
        ReadPracticeKeys(s, in);
        if (s.mode == ViewerMode::Practising) {  // taken over: the next update is the player's
            s.overlay = true;
            PracticeRoundPass(s, host, in, true);
            return;
        }
        const bool command = WatchFrame(s) != before || s.paused != pausedBefore || s.speed != speedBefore;
        if (command && overlayBefore == s.overlay) s.overlay = true;
    }
    if (s.paused) {
        g.FastForward = 0;  // Ctrl held when it paused: the loop draws and waits again
        return;
    }
    PlayWatchPass(s, host, RoundInputOf(in), DeadlineFrom(host, host.clockMs()));
}

}  // namespace mervox
