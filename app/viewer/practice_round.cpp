#include "app/viewer/practice_round.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "game/key_bits.h"
#include "game/simulation.h"
#include "save/atomic_file.h"
#include "save/input_log_file.h"

namespace mervox {

namespace {

constexpr int kLastRecordableFrame = 99999;  // five digits in the file
constexpr uint32_t kUnbeatable = UINT32_MAX;

// The round's host in a practice round: the real one's sound and clock,
// and no saving.
class PracticeHost final : public ForwardingHost {
public:
    using ForwardingHost::ForwardingHost;
    void saveScoresAndConfig() const override {}
    void saveReplay() const override {}
};

// Whether the update about to run can record no more changes.
bool RecordingFullBeforeUpdate(const GameState& g) {
    return g.InputLogIndex >= kInputLogLength || g.RoundFrame + 2 > kLastRecordableFrame;
}

void Snapshot(PracticeRound& p, const GameState& g) {
    p.snapshots.push_back({g.RoundFrame, {}});
    TakeSnapshot(g, p.snapshots.back().state);
}

}  // namespace

RunModeValue PracticeMode(RunModeValue watchedMode) {
    switch (watchedMode) {
        case RunTutorial: return RunTutorial;
        case RunGame:
        case RunReplay:
        case RunDemo1:
        case RunDemo2:
        default: return RunGame;
    }
}

bool CanTakeOver(const GameState& g) {
    return PlaysBack(g) && g.RunMode >= RunGame && g.RunMode <= kLastRunMode && g.TimeLeft > 0 &&
           g.EscHold == 0 && g.RoundFrame < kLastRecordableFrame;
}

bool TakeOver(PracticeRound& p, GameState& g, const std::string& recordingPath) {
    if (!CanTakeOver(g)) return false;
    p = PracticeRound{};
    p.on = true;
    p.recording = std::filesystem::path(recordingPath).stem().string();
    p.branchFrame = g.RoundFrame;
    std::copy(std::begin(g.HighScores), std::end(g.HighScores), std::begin(p.heldScores));
    std::fill(std::begin(g.HighScores), std::end(g.HighScores), kUnbeatable);
    // From here the round records: the records played so far are the
    // recording's own up to this frame, and the player's changes go on
    // after them.
    p.mode = PracticeMode(g.RunMode);
    g.RunMode = p.mode;
    g.Playback = PlaybackOff;
    g.FastForward = 0;
    Snapshot(p, g);
    return true;
}

void PracticeUpdate(PracticeRound& p, GameState& g, const RoundHost& host, const InputFrame& in) {
    if (!p.on || g.RunMode == RunTitle) return;
    const InputFrame keys = RecordingFullBeforeUpdate(g) ? FrameHoldingBits(g.KeysNow) : RoundKeysOnly(in);
    UpdateRound(g, PracticeHost(host), keys);
    if (g.RunMode != RunTitle && (g.RoundFrame - p.branchFrame) % kSnapshotInterval == 0) Snapshot(p, g);
}

int PracticeRewindTo(PracticeRound& p, GameState& g, int frame) {
    if (!p.on || p.snapshots.empty() || g.RunMode == RunTitle) return 0;
    frame = std::clamp(frame, p.branchFrame, g.RoundFrame);
    auto it = std::upper_bound(p.snapshots.begin(), p.snapshots.end(), frame,
                               [](int f, const PracticeRound::Snap& s) { return f < s.frame; });
    const PracticeRound::Snap& from = *std::prev(it);
    p.snapshots.erase(it, p.snapshots.end());
    RestoreSnapshotKeepingLoop(from.state, g);
    // The updates from the snapshot to the frame replay the keys the player
    // recorded there, as the saved recording will.
    const uint16_t fastForward = g.FastForward;
    g.Playback = PlaybackOn;
    int played = 0;
    while (g.RoundFrame < frame && g.RunMode != RunTitle) {
        UpdateRound(g, SilentHost(), InputFrame{});
        ++played;
    }
    g.Playback = PlaybackOff;
    g.FastForward = fastForward;
    return played;
}

std::string PracticeRecordingText(const GameState& g) {
    auto log = std::make_unique<InputRecord[]>(kInputLogLength);
    const int n = std::clamp(g.InputLogIndex, 0, kInputLogLength);
    std::fill(log.get(), log.get() + kInputLogLength, InputRecord{0, 0});
    std::copy(g.InputLog, g.InputLog + n, log.get());
    return FormatInputLog(log.get());
}

std::string PracticeFileName(const PracticeRound& p, const std::tm& local, const std::string& baseDir) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = "practice/" + p.recording + "-" + std::to_string(p.branchFrame) + "-" + stamp;
    std::string name = base + ".dat";
    std::error_code ec;
    for (int serial = 2; std::filesystem::exists(baseDir + "/" + name, ec) && serial < 1000; ++serial)
        name = base + "-" + std::to_string(serial) + ".dat";
    return name;
}

std::string EndPractice(PracticeRound& p, GameState& g, const std::string& baseDir, std::string& error) {
    if (!p.on) return {};
    p.on = false;
    std::copy(std::begin(p.heldScores), std::end(p.heldScores), std::begin(g.HighScores));
    p.snapshots.clear();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::error_code ec;
    std::filesystem::create_directories(baseDir + "/practice", ec);
    const std::string name = PracticeFileName(p, local, baseDir);
    const std::string path = baseDir + "/" + name;
    if (!WriteFileAtomically(path, PracticeRecordingText(g))) {
        error = "cannot write " + path + ": " + std::generic_category().message(errno);
        return {};
    }
    return path;
}

}  // namespace mervox
