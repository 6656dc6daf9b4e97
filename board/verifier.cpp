#include "board/verifier.h"

#include <algorithm>
#include <memory>

#include "board/recording_check.h"
#include "board/shipped_recordings.h"
#include "game/round_host.h"
#include "game/sim_version.h"
#include "game/simulation.h"

namespace mervox::board {

PlayResult PlayRecording(const std::vector<InputRecord>& records, long updateLimit,
                         const std::atomic<bool>* cancel) {
    PlayResult result;
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOn);
    const size_t n = std::min(records.size(), static_cast<size_t>(kInputLogLength));
    std::copy(records.begin(), records.begin() + static_cast<long>(n), g->InputLog);
    for (size_t k = n; k < static_cast<size_t>(kInputLogLength); ++k) g->InputLog[k] = InputRecord{0, 0};

    // No hooks: no sound, no keys of the host's own.
    RoundHost host;
    while (g->RunMode != RunTitle) {
        if (result.updates >= updateLimit) break;
        if (cancel && (result.updates & 0xffff) == 0 && cancel->load(std::memory_order_relaxed)) {
            result.cancelled = true;
            break;
        }
        UpdateRound(*g, host, InputFrame{});
        ++result.updates;
    }
    result.ended = g->RunMode == RunTitle;
    result.score = g->Score;
    result.level = g->Level;
    result.frames = g->RoundFrame;
    result.cleared = g->BlocksCleared;
    return result;
}

int SharedOpening(const std::vector<InputRecord>& a, const std::vector<InputRecord>& b, int limit) {
    // Walk the change points of both in frame order; the keys from frame f
    // on are those of the last record at or before f.
    size_t i = 0, j = 0;
    int keysA = 0, keysB = 0;
    while (i < a.size() || j < b.size()) {
        const int32_t fa = i < a.size() ? a[i].frame : INT32_MAX;
        const int32_t fb = j < b.size() ? b[j].frame : INT32_MAX;
        const int32_t f = std::min(fa, fb);
        if (f > limit) break;
        if (fa == f) keysA = a[i++].keys;
        if (fb == f) keysB = b[j++].keys;
        if (keysA != keysB) return f - 1;
    }
    return limit;
}

Verdict VerifyJob(const Job& job, const std::vector<OpeningSource>& sources, const std::atomic<bool>* cancel,
                  bool* cancelled) {
    Verdict v;
    v.simVersion = kSimulationVersion;
    if (cancelled) *cancelled = false;
    CheckedRecording rec;
    std::string error;
    if (!CheckRecording(job.recording, rec, error)) {
        v.state = JobState::Rejected;
        v.reason = error;
        return v;
    }
    const PlayResult played = PlayRecording(rec.records, kVerifyUpdateLimit, cancel);
    if (played.cancelled) {
        if (cancelled) *cancelled = true;
        return v;
    }
    if (!played.ended) {
        v.state = JobState::Rejected;
        v.reason = "the recording never ends the round (still playing after " +
                   std::to_string(kVerifyUpdateLimit) + " updates)";
        return v;
    }
    v.state = JobState::Verified;
    v.score = played.score;
    v.level = played.level;
    v.frames = played.frames;
    v.cleared = played.cleared;
    for (const OpeningSource& s : sources) {
        if (s.id == job.id || (!s.nameKey.empty() && s.nameKey == job.nameKey)) continue;
        const int shared = SharedOpening(rec.records, s.records, played.frames);
        if (shared > v.sharedUpdates) {
            v.sharedUpdates = shared;
            if (2 * static_cast<long>(shared) > played.frames) v.copiedFrom = s.label;
        }
    }
    return v;
}

}  // namespace mervox::board

namespace mervox::board {

const std::vector<OpeningSource>& ShippedRecordings() {
    static const std::vector<OpeningSource> kAll = [] {
        std::vector<OpeningSource> all;
        for (const ShippedRecording& s : ShippedRecordingTexts()) {
            CheckedRecording rec;
            std::string error;
            if (!CheckRecording(s.text, rec, error)) continue;
            all.push_back(OpeningSource{"the shipped recording " + s.file, "", 0, std::move(rec.records)});
        }
        return all;
    }();
    return kAll;
}

}  // namespace mervox::board
