// A submitted round played again as the game plays it (RunMode 1, keys from
// the recording), and the comparison of its opening with other rounds'.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "board/storage.h"
#include "game/state/game_state.h"

namespace mervox::board {

// A round still going after this many updates (about 4.6 hours of play,
// about a second of work) is refused: its recording never ends the round.
constexpr long kVerifyUpdateLimit = 1'000'000;

struct PlayResult {
    bool ended = false;     // the round reached its end within the limit
    bool cancelled = false; // `cancel` was raised before the end
    uint32_t score = 0;
    int level = 0;
    int frames = 0;         // RoundFrame at the end
    int cleared = 0;
    long updates = 0;
};

// Plays the records as a game round. `cancel`, when given, is looked at now
// and then; raised, the play stops with `cancelled` set.
PlayResult PlayRecording(const std::vector<InputRecord>& records, long updateLimit = kVerifyUpdateLimit,
                         const std::atomic<bool>* cancel = nullptr);

// The number of updates from the first on during which the two recordings
// hold the same keys: the rounds they play are the same for that long.
// `limit` caps the answer (the round's length).
int SharedOpening(const std::vector<InputRecord>& a, const std::vector<InputRecord>& b, int limit);

// A round another one may have been taken over from.
struct OpeningSource {
    std::string label;       // shown after "opening copied from "
    std::string nameKey;     // "" for the shipped recordings
    int64_t id = 0;          // 0 for the shipped recordings
    std::vector<InputRecord> records;
};

// The recordings shipped with the game (data/tuto.dat, demo1.dat, demo2.dat).
const std::vector<OpeningSource>& ShippedRecordings();

// The verdict on one job: played, then (when verified) compared with the
// sources, skipping rounds of the same name and the round itself. A round
// sharing more than half its updates with a source is marked copied from it.
Verdict VerifyJob(const Job& job, const std::vector<OpeningSource>& sources,
                  const std::atomic<bool>* cancel = nullptr, bool* cancelled = nullptr);

}  // namespace mervox::board
