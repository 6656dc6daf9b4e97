#include "app/viewer/seek_snapshots.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>

#include "game/simulation.h"

namespace mervox {

namespace {

// A snapshot leaves out the recording and nothing else: a field of the
// program-wide record belongs in SimulatedState, or seeks would not bring
// it back.
static_assert(sizeof(GameState) == sizeof(SimulatedState) + sizeof(GameState::InputLog),
              "GameState holds the simulated state and the recording only");

// The main loop's own fields, which a seek leaves as they are: the round
// never changes them while nobody holds Ctrl.
struct LoopFields {
    int32_t quitRequested, frameSkip, framePhase;
    uint16_t fastForward;
    ScreenModeValue screenMode;
    uint32_t framesPerSecond;
};

LoopFields KeepLoopFields(const GameState& g) {
    return {g.QuitRequested, g.FrameSkip, g.FramePhase, g.FastForward, g.ScreenMode, g.FramesPerSecond};
}

void PutLoopFields(const LoopFields& f, GameState& g) {
    g.QuitRequested = f.quitRequested;
    g.FrameSkip = f.frameSkip;
    g.FramePhase = f.framePhase;
    g.FastForward = f.fastForward;
    g.ScreenMode = f.screenMode;
    g.FramesPerSecond = f.framesPerSecond;
}

// A chain link beyond the starting group made in the last update.
bool NewChainLink(const GameState& g) {
    const UpdateEvents& e = g.Events;
    for (int k = 0; k < e.linkCount && k < kChainSlotCount; ++k)
        if (e.links[k].chain >= 2) return true;
    return false;
}

}  // namespace

void TakeSnapshot(const GameState& g, RoundSnapshot& s) { s.state = g; }

void RestoreSnapshot(const RoundSnapshot& s, GameState& g) {
    SimulatedState& simulated = g;
    simulated = s.state;
}

void RestoreSnapshotKeepingLoop(const RoundSnapshot& s, GameState& g) {
    const LoopFields keep = KeepLoopFields(g);
    RestoreSnapshot(s, g);
    PutLoopFields(keep, g);
}

size_t RoundTimeline::SnapshotBytes() const {
    return snapshots.size() * kSnapshotSize;
}

const RoundHost& SilentHost() {
    static const RoundHost silent;
    return silent;
}

bool MeasureRound(const GameState& start, int interval, RoundTimeline& out, long updateLimit) {
    out = RoundTimeline{};
    out.interval = std::max(interval, 1);
    auto g = std::make_unique<GameState>(start);
    const RoundHost& host = SilentHost();
    long updates = 0;
    while (true) {
        if (g->RoundFrame % out.interval == 0 &&
            static_cast<size_t>(g->RoundFrame / out.interval) == out.snapshots.size()) {
            out.snapshots.emplace_back();
            TakeSnapshot(*g, out.snapshots.back());
        }
        if (g->RunMode == RunTitle) break;
        if (++updates > updateLimit) return false;
        UpdateRound(*g, host, InputFrame{});
        if (g->Events.levelUp) out.marks.push_back({g->RoundFrame, MarkKind::LevelUp});
        else if (NewChainLink(*g)) out.marks.push_back({g->RoundFrame, MarkKind::ChainLink});
    }
    out.lastFrame = g->RoundFrame;
    return true;
}

int SeekRound(const RoundTimeline& t, GameState& g, int frame, const RoundHost& host) {
    if (t.snapshots.empty()) return 0;
    frame = std::clamp(frame, 0, t.lastFrame);
    const size_t k = std::min(static_cast<size_t>(frame / t.interval), t.snapshots.size() - 1);
    const int snapFrame = static_cast<int>(k) * t.interval;
    if (!(g.RoundFrame <= frame && g.RoundFrame >= snapFrame)) {
        RestoreSnapshotKeepingLoop(t.snapshots[k], g);
    }
    int played = 0;
    while (g.RoundFrame < frame && g.RunMode != RunTitle) {
        UpdateRound(g, host, InputFrame{});
        ++played;
    }
    return played;
}

int PreviousMark(const RoundTimeline& t, int frame) {
    auto it = std::lower_bound(t.marks.begin(), t.marks.end(), frame,
                               [](const TimelineMark& m, int f) { return m.frame < f; });
    if (it == t.marks.begin()) return -1;
    return std::prev(it)->frame;
}

int NextMark(const RoundTimeline& t, int frame) {
    auto it = std::upper_bound(t.marks.begin(), t.marks.end(), frame,
                               [](int f, const TimelineMark& m) { return f < m.frame; });
    return it == t.marks.end() ? -1 : it->frame;
}

}  // namespace mervox
