// Watching a recording like a video: pause, single updates forward and
// back, slow motion and fast forward, seeks of 5 and 30 seconds, the start
// and the end, the previous and next level-up or chain link. The round is
// measured once by a headless pass that keeps a snapshot every few updates,
// so any seek plays at most one snapshot interval.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/viewer/clip_export.h"
#include "app/viewer/practice_round.h"
#include "app/viewer/seek_snapshots.h"
#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

enum class WatchCommand {
    PlayPause,
    StepForward, StepBack,
    Slower, Faster,
    Back5s, Forward5s, Back30s, Forward30s,
    ToStart, ToEnd,
    PreviousMark, NextMark,
    ToggleOverlay,
    ClipStart, ClipEnd, ClipExport,
};

// Playback speeds in quarters of normal speed; the last is "as fast as
// drawing allows".
inline constexpr int kWatchSpeeds[] = {1, 2, 4, 8, 16, 32, 0};
constexpr int kNormalSpeed = 2;  // index of 1x
constexpr int kFastestSpeed = 6;

constexpr int kWatchKeyCount = 17;
constexpr int kPracticeKeyCount = 2;  // back 5 s, back to the takeover frame

// What the viewer does with the round it shows. Watching: the recording
// alone drives the round, and the viewer's keys move through it.
// Practising: the round taken over plays the player's keys, and the
// practice keys rewind it.
enum class ViewerMode { Watching, Practising };

struct WatchSession {
    ViewerMode mode = ViewerMode::Watching;
    std::unique_ptr<GameState> own;  // the round --watch plays
    GameState* g = nullptr;          // the round watched: own, or the program's
    RoundTimeline timeline;
    // A round the title started: seeks stop short of the round's last
    // update, which is played so that the round ends as it always does.
    bool live = false;
    bool seekedToStart = false;  // live, at frame 0 by a seek, not a new round
    bool paused = false;
    int speed = kNormalSpeed;  // index into kWatchSpeeds
    int quarters = 0;          // quarter updates owed at slow speeds
    bool overlay = true;
    int heldPasses[kWatchKeyCount] = {};  // passes each viewer key has been held
    // What the watched round hears while it plays at normal speed (effects,
    // voices, the music's level); at other speeds only the music's level.
    // Seeks hear nothing. Null: silence.
    const RoundHost* sound = nullptr;
    // The round handed to the player, from the recording at `path`; its
    // recording goes to `baseDir`/practice when it ends.
    PracticeRound practice;
    std::string path;
    std::string baseDir = ".";
    int practiceHeld[kPracticeKeyCount] = {};
    int takeOverHeld = 0;  // passes the take-over key has been held
    // The clip marked on the timeline ([start, end] in frames, -1 while
    // not set) and its export, running in the background.
    WatchClip clip;
    std::vector<double> rewindMs;  // how long each rewind took
    std::string closingNote;       // where the practice round went, its end and the rewind times
};

enum class PracticeCommand { TakeOver, Back5s, BackToTakeOver };

// Hands the watched round to the player at the frame on screen (at 1x,
// playing); false when the round can no longer be taken over.
bool WatchTakeOver(WatchSession& s);
void ApplyPracticeCommand(WatchSession& s, PracticeCommand c);
// Ends a practice round: writes its recording and sets the closing note.
// False (with the reason in the note) when the file could not be written.
bool FinishPractice(WatchSession& s);

// Loads the recording as a playback round of RunMode `mode` with the music
// and effects settings given (SoundOn or SoundOff), measures it and goes to frame `at` (paused there when
// `at` is not negative). False with a reason when the recording cannot be
// read or does not end.
bool OpenWatch(WatchSession& s, const std::string& path, RunModeValue mode, int at, std::string& error,
               int bgmMode = SoundOff, int seMode = SoundOn);

// Frames of the round: 60 updates a second.
int WatchFrame(const WatchSession& s);
int WatchLastFrame(const WatchSession& s);

void ApplyWatchCommand(WatchSession& s, WatchCommand c);

// Goes to a frame (clamped to the round); the picture then shows it.
void WatchSeek(WatchSession& s, int frame);

// Says when a pass at the fastest speed has used its time (checked between
// updates). Empty: the pass plays its most updates.
using PassDeadline = std::function<bool()>;

// At the fastest speed a pass plays until this much of it is spent.
constexpr int kFastestPassMs = 14;

// The fastest speed's deadline: the pass has spent its time since `start`
// on `clock` (the platform's, or the round host's).
template <class Clock>
PassDeadline DeadlineFrom(const Clock& clock, uint32_t start) {
    return [&clock, start] { return static_cast<int32_t>(clock.clockMs() - start) >= kFastestPassMs; };
}

// Updates at most one pass plays at the fastest speed.
constexpr int kFastestUpdatesPerPass = 16;

// The one step of the viewer's speed: the updates this pass owes (a
// quarter update a pass at 1/4, four at 4x; at the fastest, as many as the
// deadline allows, up to kFastestUpdatesPerPass), played on the watched
// round with `heard` muted of its effects and voices away from normal speed.
// Each update reads the pass's keys `in` (a playback round's Ctrl, Z and
// Escape). Stops early where the round cannot go on. Returns the updates
// played.
int PlayWatchPass(WatchSession& s, const RoundHost& heard, const InputFrame& in, const PassDeadline& deadline);

// One pass of --watch (1/60 s): the updates the speed owes unless paused,
// heard through the session's sound with the music left playing to the
// viewer's end; pauses at the end. Returns the updates played.
int AdvanceWatch(WatchSession& s, const PassDeadline& deadline = {});

}  // namespace mervox
