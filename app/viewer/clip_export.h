// A clip of the watched round to a video file, from the viewer: two keys
// mark its first and last frame on the timeline, a third writes it beside
// the player's screenshots while the round stays watchable. The export
// plays the round from its start on a copy of its own, in a thread of its
// own.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "app/export/round_export.h"
#include "game/state/game_state.h"

namespace mervox {

struct ClipExportJob {
    std::unique_ptr<GameState> start;  // the round at frame 0, the export's own copy
    ExportRequest request;
    ExportProgress progress;
    ExportTimes times;
    std::string error;
    bool ok = false;
    std::thread worker;
    // Stops an export still running (its file is removed) and waits for it.
    ~ClipExportJob();
};

struct WatchClip {
    int start = -1;  // frames marked; -1: not set (the round's first or last frame)
    int end = -1;
    std::unique_ptr<ClipExportJob> job;  // running, or finished and not yet collected
    std::string note;                    // what the last export did
};

// Marks the clip's first (last) frame; a mark on the wrong side of the
// other one drops the other.
void MarkClipStart(WatchClip& c, int frame);
void MarkClipEnd(WatchClip& c, int frame);

// The frames a clip covers in a round of `lastFrame` frames: the marks,
// or the round's first update and its end where a mark is not set.
struct ClipRange {
    int from;
    int to;
};
ClipRange ClipRangeOf(const WatchClip& c, int lastFrame);

// Where a clip goes: <writeDir>/screenshots/<recording's name>-frames-<from>-<to>.mp4,
// with "-2", "-3", ... before the ending when that file is there already.
std::string ClipFilePath(const std::string& writeDir, const std::string& recording, ClipRange range);

// Starts writing the clip of the round `roundStart` (at frame 0, with its
// recording; copied) in the background. False, with the reason in the
// note, while another export runs.
bool StartClipExport(WatchClip& c, const GameState& roundStart, int lastFrame, const std::string& recording,
                     const std::string& writeDir);

// Takes in an export that has ended: its note says where the clip went or
// why there is none (also said on the standard output or error).
void CollectClipExport(WatchClip& c);

// The line the overlay shows: the marks and an export's progress, or the
// last export's note. Empty when there is nothing to say.
std::string ClipStatusLine(const WatchClip& c, int lastFrame);

}  // namespace mervox
