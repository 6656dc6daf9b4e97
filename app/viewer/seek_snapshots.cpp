#include "app/viewer/seek_snapshots.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>

#include "game/simulation.h"

namespace mervox {

namespace {

// The changing part of the state: everything before the recording, and the
// fields between the recording and the caption texts.
constexpr size_t kHeadBytes = offsetof(GameState, InputLog);
constexpr size_t kTailStart = offsetof(GameState, RandomState);
constexpr size_t kTailBytes = offsetof(GameState, TutorialCaptions) - kTailStart;
static_assert(offsetof(GameState, InputLog) + sizeof(GameState::InputLog) == kTailStart,
              "the random state follows the recording");

const unsigned char* Bytes(const GameState& g) { return reinterpret_cast<const unsigned char*>(&g); }
unsigned char* Bytes(GameState& g) { return reinterpret_cast<unsigned char*>(&g); }

// The main loop's own fields, which a seek leaves as they are: the round
// never changes them while nobody holds Ctrl.
struct LoopFields {
    int32_t quitRequested, frameSkip, framePhase;
    uint16_t fastForward, screenMode;
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

size_t SnapshotSize() { return kHeadBytes + kTailBytes; }

void TakeSnapshot(const GameState& g, RoundSnapshot& s) {
    s.bytes.resize(SnapshotSize());
    std::memcpy(s.bytes.data(), Bytes(g), kHeadBytes);
    std::memcpy(s.bytes.data() + kHeadBytes, Bytes(g) + kTailStart, kTailBytes);
}

void RestoreSnapshot(const RoundSnapshot& s, GameState& g) {
    if (s.bytes.size() != SnapshotSize()) return;
    std::memcpy(Bytes(g), s.bytes.data(), kHeadBytes);
    std::memcpy(Bytes(g) + kTailStart, s.bytes.data() + kHeadBytes, kTailBytes);
}

void RestoreSnapshotKeepingLoop(const RoundSnapshot& s, GameState& g) {
    const LoopFields keep = KeepLoopFields(g);
    RestoreSnapshot(s, g);
    PutLoopFields(keep, g);
}

size_t RoundTimeline::SnapshotBytes() const {
    size_t n = 0;
    for (const RoundSnapshot& s : snapshots) n += s.bytes.capacity();
    return n;
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
