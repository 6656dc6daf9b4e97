#include "app/viewer/watch_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/common/playback_round.h"
#include "game/simulation.h"

namespace mervox {

namespace {

constexpr int kUpdatesPerSecond = 60;
constexpr int kQuartersPerUpdate = 4;

void PauseAtEnd(WatchSession& s) {
    if (WatchFrame(s) >= WatchLastFrame(s)) s.paused = true;
}

bool CanGoOn(const WatchSession& s) {
    return s.g->RunMode != RunTitle && (s.live || WatchFrame(s) < WatchLastFrame(s));
}

// Away from normal speed the effects and the voices are not heard.
class UnheardHost final : public ForwardingHost {
public:
    using ForwardingHost::ForwardingHost;
    void writeEffect(int, bool) const override {}
    void playVoice(VoiceClip) const override {}
};

// The music plays on to the viewer's end, whatever the round does.
class MusicToTheEndHost final : public ForwardingHost {
public:
    using ForwardingHost::ForwardingHost;
    void stopMusic() const override {}
};

}  // namespace

bool OpenWatch(WatchSession& s, const std::string& path, RunModeValue mode, int at, std::string& error,
               int bgmMode, int seMode) {
    s.own = std::make_unique<GameState>();
    s.g = s.own.get();
    s.live = false;
    s.path = path;
    if (!StartPlaybackRound(*s.g, mode, path)) {
        error = "cannot open recording " + path;
        return false;
    }
    // Set before measuring, so that every snapshot (and so every seek)
    // keeps them.
    s.g->BGMMODE = bgmMode;
    s.g->SEMODE = seMode;
    if (!MeasureRound(*s.g, kSnapshotInterval, s.timeline)) {
        error = "the recording " + path + " does not end";
        return false;
    }
    s.paused = at >= 0;
    if (at > 0) WatchSeek(s, at);
    return true;
}

int WatchFrame(const WatchSession& s) { return s.g->RoundFrame; }
int WatchLastFrame(const WatchSession& s) { return s.timeline.lastFrame; }

void WatchSeek(WatchSession& s, int frame) {
    if (s.live) frame = std::min(frame, WatchLastFrame(s) - 1);
    SeekRound(s.timeline, *s.g, frame, SilentHost());
    s.quarters = 0;
    s.seekedToStart = s.live && WatchFrame(s) == 0;
}

namespace {

// The marked clip of the round watched, from a copy of the round at its
// start.
void StartWatchClipExport(WatchSession& s) {
    if (s.timeline.snapshots.empty() || s.g == nullptr) return;
    auto start = std::make_unique<GameState>(*s.g);
    RestoreSnapshot(s.timeline.snapshots.front(), *start);
    StartClipExport(s.clip, *start, WatchLastFrame(s), s.path, s.baseDir);
}

}  // namespace

void ApplyWatchCommand(WatchSession& s, WatchCommand c) {
    const int now = WatchFrame(s);
    switch (c) {
        case WatchCommand::PlayPause:
            s.paused = !s.paused;
            if (!s.paused && now >= WatchLastFrame(s)) WatchSeek(s, 0);
            break;
        case WatchCommand::StepForward:
            s.paused = true;
            WatchSeek(s, now + 1);
            break;
        case WatchCommand::StepBack:
            s.paused = true;
            WatchSeek(s, now - 1);
            break;
        case WatchCommand::Slower: s.speed = std::max(s.speed - 1, 0); break;
        case WatchCommand::Faster: s.speed = std::min(s.speed + 1, kFastestSpeed); break;
        case WatchCommand::Back5s: WatchSeek(s, now - 5 * kUpdatesPerSecond); break;
        case WatchCommand::Forward5s: WatchSeek(s, now + 5 * kUpdatesPerSecond); break;
        case WatchCommand::Back30s: WatchSeek(s, now - 30 * kUpdatesPerSecond); break;
        case WatchCommand::Forward30s: WatchSeek(s, now + 30 * kUpdatesPerSecond); break;
        case WatchCommand::ToStart: WatchSeek(s, 0); break;
        case WatchCommand::ToEnd: WatchSeek(s, WatchLastFrame(s)); break;
        case WatchCommand::PreviousMark: {
            const int m = PreviousMark(s.timeline, now);
            WatchSeek(s, m < 0 ? 0 : m);
            break;
        }
        case WatchCommand::NextMark: {
            const int m = NextMark(s.timeline, now);
            if (m >= 0) WatchSeek(s, m);
            break;
        }
        case WatchCommand::ToggleOverlay: s.overlay = !s.overlay; break;
        case WatchCommand::ClipStart: MarkClipStart(s.clip, now); break;
        case WatchCommand::ClipEnd: MarkClipEnd(s.clip, now); break;
        case WatchCommand::ClipExport: StartWatchClipExport(s); break;
    }
    PauseAtEnd(s);
}

int PlayWatchPass(WatchSession& s, const RoundHost& heard, const InputFrame& in, const PassDeadline& deadline) {
    const int q = kWatchSpeeds[s.speed];
    const UnheardHost unheard(heard);
    const RoundHost& host = q == kQuartersPerUpdate ? heard : unheard;
    int owed = kFastestUpdatesPerPass;
    if (q != 0) {
        s.quarters += q;
        owed = s.quarters / kQuartersPerUpdate;
        s.quarters %= kQuartersPerUpdate;
    }
    int played = 0;
    while (played < owed && CanGoOn(s)) {
        UpdateRound(*s.g, host, in);
        ++played;
        if (q == 0 && deadline && deadline()) break;
    }
    return played;
}

int AdvanceWatch(WatchSession& s, const PassDeadline& deadline) {
    if (s.paused) return 0;
    const MusicToTheEndHost host(s.sound != nullptr ? *s.sound : SilentHost());
    const int played = PlayWatchPass(s, host, InputFrame{}, deadline);
    PauseAtEnd(s);
    return played;
}

bool WatchTakeOver(WatchSession& s) {
    if (s.practice.on || !TakeOver(s.practice, *s.g, s.path)) return false;
    s.mode = ViewerMode::Practising;
    s.paused = false;
    s.speed = kNormalSpeed;
    s.quarters = 0;
    s.rewindMs.clear();
    for (int& n : s.practiceHeld) n = 0;
    return true;
}

void ApplyPracticeCommand(WatchSession& s, PracticeCommand c) {
    if (c == PracticeCommand::TakeOver) {
        WatchTakeOver(s);
        return;
    }
    if (!s.practice.on) return;
    const auto start = std::chrono::steady_clock::now();
    if (c == PracticeCommand::Back5s) PracticeRewind5s(s.practice, *s.g);
    else PracticeBackToBranch(s.practice, *s.g);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    s.rewindMs.push_back(took.count());
}

bool FinishPractice(WatchSession& s) {
    if (!s.practice.on) return true;
    const int frame = s.g->RoundFrame;
    const uint32_t score = s.g->Score;
    const RunModeValue mode = s.practice.mode;
    std::string error;
    const std::string path = EndPractice(s.practice, *s.g, s.baseDir, error);
    s.mode = ViewerMode::Watching;
    char buf[160];
    std::snprintf(buf, sizeof buf, "practice round ended at frame %d with score %u", frame, score);
    std::string note = buf;
    if (path.empty()) {
        note += "; its recording was not saved: " + error;
    } else {
        note += "; saved to " + path;
        if (mode != DefaultModeFor(path)) note += " (play it with --mode " + std::to_string(mode) + ")";
    }
    std::vector<double> t = s.rewindMs;
    if (!t.empty()) {
        std::sort(t.begin(), t.end());
        std::snprintf(buf, sizeof buf, "; %zu rewinds, median %.2f ms, worst %.2f ms", t.size(), t[t.size() / 2],
                      t.back());
        note += buf;
    }
    s.closingNote = note;
    return !path.empty();
}

}  // namespace mervox
