// A played-back round to a video file: every update from the round's start
// is played with the sound a player hears, mixed offline by the game's own
// mixer, and the updates of the clip are drawn as the headless pictures
// draw them and handed to the encoder with their sound. Runs on whichever
// thread calls it, on a state of its own.
#pragma once

#include <atomic>
#include <string>

#include "game/state/game_state.h"

namespace mervox {

struct ExportRequest {
    std::string baseDir = ".";  // the game folder: sheets, sounds, music, options.txt
    std::string outPath;        // its ending chooses the container and codecs
    int from = 1;               // the first and last update of the clip (RoundFrame
    int to = 0;                 // after it); `to` 0 or past the end: the round's end
    int drawScale = 1;
};

// Shared between the export and whoever shows its progress or stops it.
struct ExportProgress {
    std::atomic<int> done{0};    // pictures written
    std::atomic<int> total{0};   // pictures the clip will have (set at the start)
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};  // set last, whatever the outcome
};

// Where the time went, in seconds of the calling thread.
struct ExportTimes {
    double simulation = 0;
    double drawing = 0;
    double mixing = 0;
    double encoding = 0;
};

// The updates a played-back round lasts (its RoundFrame when it ends).
// -1 when it does not end within kUpdateLimit updates.
int PlaybackRoundLength(const GameState& start);

// Plays `start` (a playback round as StartPlaybackRound leaves it, at frame
// 0) into the clip `request` asks for. False, with the reason in `error`
// and no file left, on failure or when `progress.cancel` was set.
bool ExportRound(const GameState& start, const ExportRequest& request, ExportProgress& progress,
                 ExportTimes& times, std::string& error);

}  // namespace mervox
