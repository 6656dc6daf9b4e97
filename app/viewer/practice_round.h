// Practising from any moment of a recording: a played-back round is handed
// to the player at the update on screen, and from the next update its keys
// come from the player while everything else (board, score, level, clock,
// random numbers, music level) goes on from the state it had. The round is
// recorded as it plays: the watched recording's key changes up to the
// branch, then the player's. A rewind goes back through snapshots taken as
// the practice round plays and cuts the keys recorded after its frame, so
// the saved recording replays to exactly the round the player saw.
#pragma once

#include <ctime>
#include <deque>
#include <string>
#include <vector>

#include "app/viewer/seek_snapshots.h"
#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// The RunMode a practice round plays on in, for a round watched in `mode`:
// the replay and the demonstrations (2, 4, 5) go on as a game (1), whose
// updates are theirs but for what they show (their label and caption) and
// the end they put at frame 5400, which would cut the player's round short;
// the tutorial (3) stays the tutorial, whose level-ups add its own 600
// updates to the clock (no other mode replays its clock once it has gone up
// a level), captions and all; a game stays a game.
RunModeValue PracticeMode(RunModeValue watchedMode);

struct PracticeRound {
    bool on = false;
    std::string recording;  // the watched recording's name without folder and ".dat"
    int branchFrame = 0;
    RunModeValue mode = RunGame;  // the RunMode it plays on in
    // The high scores as they were, put back when the practice ends; while
    // it plays the round sees a table no score can enter.
    uint32_t heldScores[3] = {};
    struct Snap {
        int frame;
        RoundSnapshot state;
    };
    std::deque<Snap> snapshots;  // [0] at the branch, then every kSnapshotInterval frames
};

// Whether the round may be taken over now: a played-back round whose clock
// still runs and that is not being ended.
bool CanTakeOver(const GameState& g);

// Hands the played-back round `g` (watched from the recording at
// `recordingPath`) to the player. False, leaving `g` as it is, when
// CanTakeOver says no.
bool TakeOver(PracticeRound& p, GameState& g, const std::string& recordingPath);

// One update of the practice round with the player's keys of the pass:
// `host` gives the sound; only the eight round keys reach the round (not
// Escape nor Ctrl, which are the viewer's), and saving never does. Once
// the recording is full (6000 changes, or frames past five digits) the
// keys stay as they are, so that nothing played is missing from it.
void PracticeUpdate(PracticeRound& p, GameState& g, const RoundHost& host, const InputFrame& in);

// Goes back to `frame` (not before the branch), dropping the keys recorded
// after it. Returns the updates replayed from the nearest snapshot.
int PracticeRewindTo(PracticeRound& p, GameState& g, int frame);
inline int PracticeRewind5s(PracticeRound& p, GameState& g) {
    return PracticeRewindTo(p, g, g.RoundFrame - 300);
}
inline int PracticeBackToBranch(PracticeRound& p, GameState& g) { return PracticeRewindTo(p, g, p.branchFrame); }

// The practice round's recording in the game's file format.
std::string PracticeRecordingText(const GameState& g);

// practice/<recording>-<frame>-<YYYYMMDD-HHMMSS>.dat (with -2, -3... when
// that name is taken), relative to the player's folder.
std::string PracticeFileName(const PracticeRound& p, const std::tm& local, const std::string& baseDir);

// Ends the practice: puts the high scores back and writes the recording
// atomically under baseDir/practice. Returns the path written, or empty with
// the reason in `error`.
std::string EndPractice(PracticeRound& p, GameState& g, const std::string& baseDir, std::string& error);

}  // namespace mervox
