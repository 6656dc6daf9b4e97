#include "app/replay_viewer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/frame_pacing.h"
#include "app/playback_round.h"
#include "app/program_audio.h"
#include "draw/draw_context.h"
#include "draw/raster.h"
#include "draw/text_drawing.h"
#include "game/simulation.h"
#include "render/scene_drawing.h"
#include "save/input_log_file.h"

namespace mervox {

namespace {

constexpr int kUpdatesPerSecond = 60;
constexpr int kFastestPassMs = 14;  // updates per pass at the fastest speed
constexpr int kUpdatesWithoutClock = 8;

void PauseAtEnd(WatchSession& s) {
    if (WatchFrame(s) >= WatchLastFrame(s)) s.paused = true;
}

}  // namespace

bool OpenWatch(WatchSession& s, const std::string& path, int mode, int at, std::string& error,
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
    }
    PauseAtEnd(s);
}

int AdvanceWatch(WatchSession& s, bool (*deadline)(void* ctx), void* ctx) {
    if (s.paused) return 0;
    int played = 0;
    RoundHost host = s.sound;
    if (kWatchSpeeds[s.speed] != 4) {
        host.writeEffect = nullptr;
        host.playVoice = nullptr;
    }
    // The music plays on to the viewer's end, whatever the round does.
    host.stopMusic = nullptr;
    host.pumpMessages = nullptr;
    auto one = [&]() {
        if (WatchFrame(s) >= WatchLastFrame(s)) return false;
        UpdateRound(*s.g, host);
        ++played;
        return true;
    };
    const int q = kWatchSpeeds[s.speed];
    if (q == 0) {
        do {
            if (!one()) break;
        } while (deadline ? !deadline(ctx) : played < kUpdatesWithoutClock);
    } else {
        s.quarters += q;
        while (s.quarters >= 4) {
            s.quarters -= 4;
            if (!one()) break;
        }
    }
    PauseAtEnd(s);
    return played;
}

bool WatchTakeOver(WatchSession& s) {
    if (s.practice.on || !TakeOver(s.practice, *s.g, s.path)) return false;
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
    const int mode = s.practice.mode;
    std::string error;
    const std::string path = EndPractice(s.practice, *s.g, s.baseDir, error);
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

TimelineBar WatchTimelineBar() { return {13, 466, 629, 474}; }

int FrameAtBarX(const WatchSession& s, int x) {
    const TimelineBar b = WatchTimelineBar();
    const int span = b.right - 1 - b.left;
    const int px = std::clamp(x, b.left, b.right - 1) - b.left;
    return static_cast<int>((static_cast<long long>(px) * WatchLastFrame(s) + span / 2) / span);
}

}  // namespace mervox

// ---- the overlay ---------------------------------------------------------------

namespace mervox {

namespace {

constexpr int kBandTop = 443;
constexpr uint32_t kBarPlayed = 0x0060C0FF;   // frame-buffer words: 0x00RRGGBB
constexpr uint32_t kBarRest = 0x00505860;
constexpr uint32_t kKnob = 0x00FFFFFF;
constexpr uint32_t kLevelMark = 0x00FFE040;
constexpr uint32_t kChainMark = 0x00FF7040;
constexpr uint32_t kKeyLit = 0x00FFD040;
constexpr uint32_t kKeyDark = 0x00303438;
constexpr const char* kPracticeHelp = "Backspace: back 5 s   Home: back to the takeover   Esc: leave and save";

// Darkens the band under the overlay to a quarter of its brightness.
void DarkenRows(FrameBuffer& fb, int top, int bottom) {
    for (int y = std::max(top, 0); y < std::min(bottom, kFrameHeight); ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            uint32_t& p = fb.pixels[y * kFrameWidth + x];
            p = (p >> 2) & 0x003F3F3Fu;
        }
}

void Text(DrawContext& dc, int x, int y, const std::string& ascii, uint32_t colour) {
    std::u16string t(ascii.begin(), ascii.end());
    SetTextColour(dc, colour);
    TextOutW(dc, x, y, t.data(), static_cast<int>(t.size()));
}

std::string Clock(int frame) {
    char buf[32];
    const int centi = frame * 100 / 60;
    std::snprintf(buf, sizeof buf, "%d:%02d.%02d", centi / 6000, centi / 100 % 60, centi % 100);
    return buf;
}

const char* SpeedLabel(const WatchSession& s) {
    static const char* const labels[] = {"x1/4", "x1/2", "x1", "x2", "x4", "x8", "max"};
    return labels[s.speed];
}

// The eight round keys as small boxes, lit while held in this update.
void DrawKeys(DrawContext& dc, int32_t keys) {
    static const struct {
        int32_t bit;
        const char16_t* label;
    } boxes[] = {{KeyLeft, u"\u2190"}, {KeyUp, u"\u2191"}, {KeyRight, u"\u2192"}, {KeyDown, u"\u2193"},
                 {KeyKick, u"Z"},      {KeyJump, u"X"},    {KeyTurnQ, u"Q"},      {KeyTurnE, u"E"}};
    int x = 452;
    for (const auto& b : boxes) {
        const bool lit = (keys & b.bit) != 0;
        FillPixelRect(dc, x, 446, x + 19, 463, lit ? kKeyLit : kKeyDark);
        SetTextColour(dc, lit ? 0x00000000u : 0x00A0A0A0u);
        TextOutW(dc, x + 4, 446, b.label, 1);
        x += 22;
    }
}

// A practice round: where it branched, where it is, and its keys.
void DrawPracticeOverlay(const WatchSession& s, DrawContext& dc) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "practice: %s from frame %d", s.practice.recording.c_str(),
                  s.practice.branchFrame);
    Text(dc, 13, 446, buf, 0x0040E0FF);
    std::snprintf(buf, sizeof buf, "%d  %s", WatchFrame(s), Clock(WatchFrame(s)).c_str());
    Text(dc, 300, 446, buf, 0x00FFFFFF);
    Text(dc, 13, 462, kPracticeHelp, 0x00A0A0A0);
    DrawKeys(dc, s.g->KeysNow);
}

void DrawOverlay(const WatchSession& s, const RenderResources& res, FrameBuffer& fb) {
    DarkenRows(fb, kBandTop, kFrameHeight);
    DrawContext dc = MakeDrawContext(fb.pixels, kFrameWidth, kFrameHeight);
    SelectFont(dc, &res.palette.SmallFont);
    if (s.practice.on) {
        DrawPracticeOverlay(s, dc);
        return;
    }

    const TimelineBar b = WatchTimelineBar();
    const int last = std::max(WatchLastFrame(s), 1);
    auto xOf = [&](int frame) {
        return b.left + static_cast<int>(static_cast<long long>(frame) * (b.right - 1 - b.left) / last);
    };
    const int knob = xOf(WatchFrame(s));
    FillPixelRect(dc, b.left, b.top, knob, b.bottom, kBarPlayed);
    FillPixelRect(dc, knob, b.top, b.right, b.bottom, kBarRest);
    for (const TimelineMark& m : s.timeline.marks) {
        const int x = xOf(m.frame);
        if (m.kind == MarkKind::LevelUp) FillPixelRect(dc, x, b.top - 4, x + 2, b.bottom + 4, kLevelMark);
        else FillPixelRect(dc, x, b.bottom, x + 1, b.bottom + 3, kChainMark);
    }
    FillPixelRect(dc, knob - 1, b.top - 3, knob + 2, b.bottom + 3, kKnob);

    char buf[96];
    std::snprintf(buf, sizeof buf, "%d / %d   %s / %s", WatchFrame(s), WatchLastFrame(s),
                  Clock(WatchFrame(s)).c_str(), Clock(WatchLastFrame(s)).c_str());
    Text(dc, b.left, 446, buf, 0x00FFFFFF);
    Text(dc, 350, 446, s.paused ? "paused" : SpeedLabel(s), s.paused ? 0x0040E0FF : 0x00FFFFFF);
    DrawKeys(dc, s.g->KeysNow);
}

}  // namespace

void DrawWatch(const WatchSession& s, const RenderResources& res, FrameBuffer& fb) {
    DrawScene(*s.g, res, fb);
    DrawWatchOverlay(s, res, fb);
}

void DrawWatchOverlay(const WatchSession& s, const RenderResources& res, FrameBuffer& fb) {
    if (s.overlay && s.g != nullptr) DrawOverlay(s, res, fb);
}

}  // namespace mervox

// ---- the viewer's loop ------------------------------------------------------------

namespace mervox {

namespace {

// Held keys repeat their command after this many passes, then every few.
constexpr int kRepeatDelay = 20;
constexpr int kRepeatEvery = 3;
// The timeline takes the mouse this far above and below the bar.
constexpr int kBarReach = 8;

struct KeyBinding {
    HostKey key;
    WatchCommand command;
    bool repeats;
};

constexpr KeyBinding kBindings[] = {
    {HostKey::Space, WatchCommand::PlayPause, false},
    {HostKey::Period, WatchCommand::StepForward, true},
    {HostKey::Comma, WatchCommand::StepBack, true},
    {HostKey::Minus, WatchCommand::Slower, false},
    {HostKey::Equals, WatchCommand::Faster, false},
    {HostKey::Left, WatchCommand::Back5s, true},
    {HostKey::Right, WatchCommand::Forward5s, true},
    {HostKey::Down, WatchCommand::Back30s, true},
    {HostKey::Up, WatchCommand::Forward30s, true},
    {HostKey::Home, WatchCommand::ToStart, false},
    {HostKey::End, WatchCommand::ToEnd, false},
    {HostKey::PageUp, WatchCommand::PreviousMark, false},
    {HostKey::PageDown, WatchCommand::NextMark, false},
    {HostKey::H, WatchCommand::ToggleOverlay, false},
};
constexpr int kBindingCount = sizeof kBindings / sizeof kBindings[0];

static_assert(kBindingCount == kWatchKeyCount, "one held-pass count per viewer key");

ProgramAudio& A(void* ctx) { return *static_cast<ProgramAudio*>(ctx); }

// The watched round's sound: effects, voices and the music's level.
RoundHost SoundHost(ProgramAudio* audio) {
    RoundHost h;
    h.ctx = audio;
    h.writeEffect = [](void* ctx, int effect, bool restart) { ProgramWriteEffect(A(ctx), effect, restart); };
    h.playVoice = [](void* ctx, VoiceClip clip) { ProgramPlayVoice(A(ctx), clip); };
    h.preloadMusic = [](void* ctx) { ProgramPreloadMusic(A(ctx)); };
    return h;
}

void AudioEvent(void* ctx, uint32_t type, int32_t code) { ProgramAudioEvent(A(ctx), type, code); }

void PrintSoundMessage(void*, const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

struct PassClock {
    const ProgramPlatform* platform;
    uint32_t start;
};

// What a practice round in the viewer hears and whose keys it takes.
struct PracticeWorld {
    RoundHost sound;
    const ProgramPlatform* platform;
};

PracticeWorld& PW(void* ctx) { return *static_cast<PracticeWorld*>(ctx); }

RoundHost PracticeHostOf(PracticeWorld& w) {
    RoundHost h;
    h.ctx = &w;
    if (w.platform->keyDown != nullptr)
        h.keyDown = [](void* c, HostKey key) { return PW(c).platform->keyDown(PW(c).platform->ctx, key); };
    if (w.sound.writeEffect != nullptr)
        h.writeEffect = [](void* c, int e, bool restart) { PW(c).sound.writeEffect(PW(c).sound.ctx, e, restart); };
    if (w.sound.playVoice != nullptr)
        h.playVoice = [](void* c, VoiceClip clip) { PW(c).sound.playVoice(PW(c).sound.ctx, clip); };
    if (w.sound.preloadMusic != nullptr) h.preloadMusic = [](void* c) { PW(c).sound.preloadMusic(PW(c).sound.ctx); };
    return h;
}

// The practice keys: take over while watching; back 5 s (repeating while
// held) and back to the takeover frame while practising.
struct PracticeBinding {
    PracticeCommand command;
    int held;  // index into practiceHeld; -1: not held while practising
    bool repeats;
};
constexpr PracticeBinding kPracticeBindings[] = {
    {PracticeCommand::TakeOver, -1, false},
    {PracticeCommand::Back5s, 0, true},
    {PracticeCommand::BackToTakeOver, 1, false},
};
constexpr int kRewindRepeatEvery = 6;  // passes between rewinds while the key is held

bool PassOver(void* ctx) {
    auto* c = static_cast<PassClock*>(ctx);
    return static_cast<int32_t>(c->platform->clockMs(c->platform->ctx) - c->start) >= kFastestPassMs;
}

}  // namespace

void PollWatchKeys(WatchSession& s, bool (*keyDown)(void* ctx, HostKey key), void* ctx) {
    for (int k = 0; k < kBindingCount; ++k) {
        const bool down = keyDown != nullptr && keyDown(ctx, kBindings[k].key);
        s.heldPasses[k] = down ? s.heldPasses[k] + 1 : 0;
        const int n = s.heldPasses[k];
        const bool repeat = kBindings[k].repeats && n > kRepeatDelay && (n - kRepeatDelay) % kRepeatEvery == 0;
        if (n == 1 || repeat) ApplyWatchCommand(s, kBindings[k].command);
    }
}

namespace {

struct HostKeys {
    const RoundHost* host;
};

bool HostKeyHook(void* ctx, HostKey key) { return HostKeyDown(*static_cast<HostKeys*>(ctx)->host, key); }

}  // namespace

void PollPracticeKeys(WatchSession& s, bool (*commandDown)(void* ctx, PracticeCommand c), void* ctx) {
    for (const PracticeBinding& b : kPracticeBindings) {
        const bool down = commandDown != nullptr && commandDown(ctx, b.command);
        if (b.held < 0) {
            if (down && !s.practice.on && !s.takeOverHeld) ApplyPracticeCommand(s, b.command);
            s.takeOverHeld = down;
            continue;
        }
        int& n = s.practiceHeld[b.held];
        n = down && s.practice.on ? n + 1 : 0;
        if (n == 1 || (b.repeats && n > kRepeatDelay && (n - kRepeatDelay) % kRewindRepeatEvery == 0))
            ApplyPracticeCommand(s, b.command);
    }
}

namespace {

// The practice round the title's playback round became: its keys, one
// update, and its end (its own, or the player leaving with Escape, which
// goes back to the title at once).
void PracticeRoundPass(WatchSession& s, GameState& g, const RoundHost& host) {
    PollPracticeKeys(s, nullptr, nullptr);
    if (HostKeyDown(host, HostKey::Escape)) {
        g.RunMode = RunTitle;
        g.FadeLevel = 80;
        if (g.BGMMODE == SoundOn && host.stopMusic) host.stopMusic(host.ctx);
        // Escape held on the title would quit the game.
        while (HostKeyDown(host, HostKey::Escape) && g.QuitRequested == 0 && host.pumpMessages)
            host.pumpMessages(host.ctx, 16);
    } else {
        PracticeUpdate(s.practice, g, host);
    }
    if (g.RunMode != RunTitle) return;
    const bool saved = FinishPractice(s);
    std::fprintf(saved ? stdout : stderr, "mervox: %s\n", s.closingNote.c_str());
}

}  // namespace

void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host) {
    if (s.practice.on && s.g == &g) {
        PracticeRoundPass(s, g, host);
        return;
    }
    if (g.RoundFrame > 0) s.seekedToStart = false;
    if (s.g != &g || (g.RoundFrame == 0 && !s.seekedToStart)) {
        const bool overlay = s.g == &g && s.overlay;
        s.own.reset();
        s.g = &g;
        s.live = true;
        s.paused = false;
        s.speed = kNormalSpeed;
        s.quarters = 0;
        s.overlay = overlay;
        s.path = InputLogFileName(g.RunMode);
        for (int& n : s.heldPasses) n = 0;
        if (!MeasureRound(g, kSnapshotInterval, s.timeline)) s.timeline = RoundTimeline{};
    }
    if (!s.timeline.snapshots.empty()) {
        const int before = WatchFrame(s);
        const bool pausedBefore = s.paused;
        const int speedBefore = s.speed;
        const bool overlayBefore = s.overlay;
        HostKeys keys{&host};
        PollWatchKeys(s, HostKeyHook, &keys);
        PollPracticeKeys(s, nullptr, nullptr);
        if (s.practice.on) {  // taken over: the next update is the player's
            s.overlay = true;
            PracticeRoundPass(s, g, host);
            return;
        }
        const bool command = WatchFrame(s) != before || s.paused != pausedBefore || s.speed != speedBefore;
        if (command && overlayBefore == s.overlay) s.overlay = true;
    }
    if (s.paused) {
        g.FastForward = 0;  // Ctrl held when it paused: the loop draws and waits again
        return;
    }
    // Effects and voices only at normal speed.
    RoundHost quiet = host;
    if (kWatchSpeeds[s.speed] != 4) {
        quiet.writeEffect = nullptr;
        quiet.playVoice = nullptr;
    }
    int updates = 1;
    if (kWatchSpeeds[s.speed] == 0) {
        updates = 16;
    } else {
        s.quarters += kWatchSpeeds[s.speed];
        updates = s.quarters / 4;
        s.quarters %= 4;
    }
    for (int k = 0; k < updates && g.RunMode != RunTitle; ++k) UpdateRound(g, quiet);
}

int RunWatchOn(const ProgramPlatform& platform, const WatchPointer& pointer, const WatchRun& run) {
    auto s = std::make_unique<WatchSession>();
    std::string error;
    if (!OpenWatch(*s, run.path, run.mode, run.at, error, run.sound ? run.bgmMode : SoundOff,
                   run.sound ? run.seMode : SoundOn)) {
        std::fprintf(stderr, "mervox: %s\n", error.c_str());
        return 1;
    }
    RenderResources res;
    LoadRenderResources(res, run.baseDir);
    auto fb = std::make_unique<FrameBuffer>();

    ProgramAudioPtr audio;
    if (run.sound) {
        audio = StartProgramAudio(*s->g, run.baseDir, SoundMessages{nullptr, PrintSoundMessage});
        s->sound = SoundHost(audio.get());
        ProgramStartMusic(*audio);
    }
    int32_t quit = 0;
    if (platform.connect != nullptr)
        platform.connect(platform.ctx, PlatformEvents{&quit, audio.get(), audio ? AudioEvent : nullptr});
    s->baseDir = run.baseDir;
    // The practice round hears what the watched round hears and takes the
    // player's keys; the music plays on to the viewer's end.
    PracticeWorld world{s->sound, &platform};
    const RoundHost practiceHost = PracticeHostOf(world);
    if (run.takeOver && !WatchTakeOver(*s)) {
        std::fprintf(stderr, "mervox: the round at frame %d is over and cannot be taken over\n", WatchFrame(*s));
        StopProgramAudio(audio);
        ReleaseRenderResources(res);
        return 1;
    }
    bool dragging = false;
    bool buttonBefore = false;
    int step = 0;
    uint32_t previous = platform.clockMs(platform.ctx);
    while (quit == 0) {
        const uint32_t now = platform.clockMs(platform.ctx);
        platform.pumpMessagesFor(platform.ctx, PacingWait(step, now, previous));
        previous = platform.clockMs(platform.ctx);
        step = NextPacingStep(step);
        if (quit != 0) break;
        if (platform.keyDown != nullptr && platform.keyDown(platform.ctx, HostKey::Escape)) break;

        if (!s->practice.on) PollWatchKeys(*s, platform.keyDown, platform.ctx);
        PollPracticeKeys(*s, nullptr, nullptr);
        if (s->practice.on) {
            PracticeUpdate(s->practice, *s->g, practiceHost);
            if (s->g->RunMode == RunTitle) break;  // the round's own end
            DrawWatch(*s, res, *fb);
            if (platform.presentFrame != nullptr) platform.presentFrame(platform.ctx, fb->pixels);
            continue;
        }

        if (pointer.poll != nullptr) {
            int x = 0, y = 0;
            const bool button = pointer.poll(pointer.ctx, &x, &y);
            // Picture (0, 0) is the frame buffer's (1, 1).
            const TimelineBar b = WatchTimelineBar();
            const bool onBar = s->overlay && y + 1 >= b.top - kBarReach && y + 1 < b.bottom + kBarReach &&
                               x + 1 >= b.left - kBarReach && x + 1 < b.right + kBarReach;
            if (button && !buttonBefore && onBar) dragging = true;
            if (!button) dragging = false;
            if (dragging) WatchSeek(*s, FrameAtBarX(*s, x + 1));
            buttonBefore = button;
        }

        PassClock passClock{&platform, previous};
        AdvanceWatch(*s, PassOver, &passClock);
        DrawWatch(*s, res, *fb);
        if (platform.presentFrame != nullptr) platform.presentFrame(platform.ctx, fb->pixels);
    }
    int status = 0;
    if (s->practice.on) {
        if (!FinishPractice(*s)) status = 1;
        std::fprintf(status == 0 ? stdout : stderr, "mervox: %s\n", s->closingNote.c_str());
    }
    StopProgramAudio(audio);
    ReleaseRenderResources(res);
    return status;
}

}  // namespace mervox
