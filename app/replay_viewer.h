// Watching a recording like a video: pause, single updates forward and
// back, slow motion and fast forward, seeks of 5 and 30 seconds, the start
// and the end, the previous and next level-up or chain link, and a click or
// drag on the timeline. The round is measured once by a headless pass that
// keeps a snapshot every few updates, so any seek plays at most one
// snapshot interval.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/practice_round.h"
#include "app/program.h"
#include "app/seek_snapshots.h"
#include "draw/frame_buffer.h"
#include "game/state/game_state.h"
#include "render/render_resources.h"

namespace mervox {

enum class WatchCommand {
    PlayPause,
    StepForward, StepBack,
    Slower, Faster,
    Back5s, Forward5s, Back30s, Forward30s,
    ToStart, ToEnd,
    PreviousMark, NextMark,
    ToggleOverlay,
};

// Playback speeds in quarters of normal speed; the last is "as fast as
// drawing allows".
inline constexpr int kWatchSpeeds[] = {1, 2, 4, 8, 16, 32, 0};
constexpr int kNormalSpeed = 2;  // index of 1x
constexpr int kFastestSpeed = 6;

constexpr int kWatchKeyCount = 14;
constexpr int kPracticeKeyCount = 2;  // back 5 s, back to the takeover frame

struct WatchSession {
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
    // Seeks hear nothing. Empty: silence.
    RoundHost sound;
    // The round handed to the player, from the recording at `path`; its
    // recording goes to `baseDir`/practice when it ends.
    PracticeRound practice;
    std::string path;
    std::string baseDir = ".";
    int practiceHeld[kPracticeKeyCount] = {};
    bool takeOverHeld = false;
    std::vector<double> rewindMs;  // how long each rewind took
    std::string closingNote;       // where the practice round went, its end and the rewind times
};

enum class PracticeCommand { TakeOver, Back5s, BackToTakeOver };

// Hands the watched round to the player at the frame on screen (at 1x,
// playing); false when the round can no longer be taken over.
bool WatchTakeOver(WatchSession& s);
void ApplyPracticeCommand(WatchSession& s, PracticeCommand c);
// Polls the practice keys (take over while watching, the rewinds while
// practising) and applies those just pressed, or held long enough to repeat.
void PollPracticeKeys(WatchSession& s, bool (*commandDown)(void* ctx, PracticeCommand c), void* ctx);
// Ends a practice round: writes its recording and sets the closing note.
// False (with the reason in the note) when the file could not be written.
bool FinishPractice(WatchSession& s);

// Loads the recording as a playback round of RunMode `mode` with the music
// and effects settings given (SoundOn or SoundOff), measures it and goes to frame `at` (paused there when
// `at` is not negative). False with a reason when the recording cannot be
// read or does not end.
bool OpenWatch(WatchSession& s, const std::string& path, int mode, int at, std::string& error,
               int bgmMode = SoundOff, int seMode = SoundOn);

// Frames of the round: 60 updates a second.
int WatchFrame(const WatchSession& s);
int WatchLastFrame(const WatchSession& s);

void ApplyWatchCommand(WatchSession& s, WatchCommand c);

// Goes to a frame (clamped to the round); the picture then shows it.
void WatchSeek(WatchSession& s, int frame);

// One pass of the viewer's loop (1/60 s): plays the updates the speed owes
// unless paused, and pauses at the end. At the fastest speed it plays until
// `deadline` says stop (checked between updates; null plays 8). Returns the
// updates played.
int AdvanceWatch(WatchSession& s, bool (*deadline)(void* ctx) = nullptr, void* ctx = nullptr);

// Polls the viewer's keys (once each) and applies the commands of those
// just pressed, or held long enough to repeat.
void PollWatchKeys(WatchSession& s, bool (*keyDown)(void* ctx, HostKey key), void* ctx);

// A playback round started by the title (the replay, the tutorial, the
// demonstrations) under the viewer's keys: called by the program instead of
// UpdateRound for such a round. The round is measured at its first update.
// Paused, it does not update; slow and fast it updates less or more often,
// with effects and voices heard at normal speed only. The overlay appears
// with the first viewer key pressed. The round's own keys (Ctrl, Z,
// Escape) keep their meaning while it plays.
void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host);

// Draws the overlay over a drawn scene when it is shown.
void DrawWatchOverlay(const WatchSession& s, const RenderResources& res, FrameBuffer& fb);

// The timeline bar in frame-buffer pixels, for drawing and for the mouse.
struct TimelineBar {
    int left, top, right, bottom;  // right and bottom exclusive
};
TimelineBar WatchTimelineBar();
// The frame under a picture x on the bar (any y), clamped to the round.
int FrameAtBarX(const WatchSession& s, int x);

// Draws the round at its frame and, when shown, the overlay: the timeline
// with its marks, the frame and the time, the speed and the keys held.
void DrawWatch(const WatchSession& s, const RenderResources& res, FrameBuffer& fb);

// A pointer (mouse) for the timeline: picture coordinates of the shown
// frame (0, 0 is the picture's top left) and whether the button is held.
struct WatchPointer {
    void* ctx = nullptr;
    bool (*poll)(void* ctx, int* x, int* y) = nullptr;
};

struct WatchRun {
    std::string baseDir = ".";
    std::string path;
    int mode = 1;
    int at = -1;
    bool sound = false;  // effects, voices and music through the program's sound system
    // The player's settings from config.txt, heard when `sound` is on.
    int bgmMode = SoundOn;
    int seMode = SoundOn;
    bool takeOver = false;  // hand the round to the player at `at` at once
};

// The viewer's window loop on any platform: 60 passes a second, a drawing
// every pass, Escape or closing the window ends it.
int RunWatchOn(const ProgramPlatform& platform, const WatchPointer& pointer, const WatchRun& run);

// `mervox --watch FILE [--mode N] [--at FRAME]` on the desktop.
int RunWatch(const CommandLine& cmd);

}  // namespace mervox
