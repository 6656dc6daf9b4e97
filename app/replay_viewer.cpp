#include "app/replay_viewer.h"

#include <algorithm>
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
#include "save/options_file.h"
#include "title/options_screen.h"

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

// Darkens the band under the overlay to a quarter of its brightness.
// Rows and columns of the original picture, at the frame's scale.
void DarkenRows(const FrameView& fb, int top, int bottom) {
    const int n = fb.scale;
    for (int y = std::max(top, 0) * n; y < std::min(bottom, kFrameHeight) * n; ++y)
        for (int x = 0; x < fb.width; ++x) {
            uint32_t& p = fb.pixels[static_cast<size_t>(y) * fb.width + x];
            p = (p >> 2) & 0x003F3F3Fu;
        }
}

void Box(DrawContext& dc, int x0, int y0, int x1, int y1, uint32_t pixel) {
    const int n = dc.scale;
    FillPixelRect(dc, x0 * n, y0 * n, x1 * n, y1 * n, pixel);
}

void TextAt(DrawContext& dc, int x, int y, const char16_t* text, int count) {
    TextOutW(dc, x * dc.scale, y * dc.scale, text, count);
}

void Text(DrawContext& dc, int x, int y, const std::string& ascii, uint32_t colour) {
    std::u16string t(ascii.begin(), ascii.end());
    SetTextColour(dc, colour);
    TextAt(dc, x, y, t.data(), static_cast<int>(t.size()));
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
        Box(dc, x, 446, x + 19, 463, lit ? kKeyLit : kKeyDark);
        SetTextColour(dc, lit ? 0x00000000u : 0x00A0A0A0u);
        TextAt(dc, x + 4, 446, b.label, 1);
        x += 22;
    }
}

void DrawOverlay(const WatchSession& s, const RenderResources& res, const FrameView& fb) {
    DarkenRows(fb, kBandTop, kFrameHeight);
    DrawContext dc = MakeDrawContext(fb.pixels, fb.width, fb.height, fb.scale);
    SelectFont(dc, &res.palette.SmallFont);

    const TimelineBar b = WatchTimelineBar();
    const int last = std::max(WatchLastFrame(s), 1);
    auto xOf = [&](int frame) {
        return b.left + static_cast<int>(static_cast<long long>(frame) * (b.right - 1 - b.left) / last);
    };
    const int knob = xOf(WatchFrame(s));
    Box(dc, b.left, b.top, knob, b.bottom, kBarPlayed);
    Box(dc, knob, b.top, b.right, b.bottom, kBarRest);
    for (const TimelineMark& m : s.timeline.marks) {
        const int x = xOf(m.frame);
        if (m.kind == MarkKind::LevelUp) Box(dc, x, b.top - 4, x + 2, b.bottom + 4, kLevelMark);
        else Box(dc, x, b.bottom, x + 1, b.bottom + 3, kChainMark);
    }
    Box(dc, knob - 1, b.top - 3, knob + 2, b.bottom + 3, kKnob);

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

void DrawWatchOverlay(const WatchSession& s, const RenderResources& res, FrameView fb) {
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
    ControlAction action;
    WatchCommand command;
    bool repeats;
};

constexpr KeyBinding kBindings[] = {
    {ControlAction::WatchPlayPause, WatchCommand::PlayPause, false},
    {ControlAction::WatchStepForward, WatchCommand::StepForward, true},
    {ControlAction::WatchStepBack, WatchCommand::StepBack, true},
    {ControlAction::WatchSlower, WatchCommand::Slower, false},
    {ControlAction::WatchFaster, WatchCommand::Faster, false},
    {ControlAction::WatchBack5s, WatchCommand::Back5s, true},
    {ControlAction::WatchForward5s, WatchCommand::Forward5s, true},
    {ControlAction::WatchBack30s, WatchCommand::Back30s, true},
    {ControlAction::WatchForward30s, WatchCommand::Forward30s, true},
    {ControlAction::WatchToStart, WatchCommand::ToStart, false},
    {ControlAction::WatchToEnd, WatchCommand::ToEnd, false},
    {ControlAction::WatchPreviousMark, WatchCommand::PreviousMark, false},
    {ControlAction::WatchNextMark, WatchCommand::NextMark, false},
    {ControlAction::WatchOverlay, WatchCommand::ToggleOverlay, false},
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

bool PassOver(void* ctx) {
    auto* c = static_cast<PassClock*>(ctx);
    return static_cast<int32_t>(c->platform->clockMs(c->platform->ctx) - c->start) >= kFastestPassMs;
}

}  // namespace

void PollWatchKeys(WatchSession& s, bool (*actionDown)(void* ctx, ControlAction a), void* ctx) {
    for (int k = 0; k < kBindingCount; ++k) {
        const bool down = actionDown != nullptr && actionDown(ctx, kBindings[k].action);
        s.heldPasses[k] = down ? s.heldPasses[k] + 1 : 0;
        const int n = s.heldPasses[k];
        const bool repeat = kBindings[k].repeats && n > kRepeatDelay && (n - kRepeatDelay) % kRepeatEvery == 0;
        if (n == 1 || repeat) ApplyWatchCommand(s, kBindings[k].command);
    }
}

void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host,
                    bool (*actionDown)(void* ctx, ControlAction a), void* ctx) {
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
        for (int& n : s.heldPasses) n = 0;
        if (!MeasureRound(g, kSnapshotInterval, s.timeline)) s.timeline = RoundTimeline{};
    }
    if (!s.timeline.snapshots.empty()) {
        const int before = WatchFrame(s);
        const bool pausedBefore = s.paused;
        const int speedBefore = s.speed;
        const bool overlayBefore = s.overlay;
        PollWatchKeys(s, actionDown, ctx);
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
    ApplyOptions(res, ReadOptionsFile(run.baseDir), true);  // as the player's window shows rounds
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
        if (platform.actionDown != nullptr && platform.actionDown(platform.ctx, ControlAction::WatchLeave)) break;

        PollWatchKeys(*s, platform.actionDown, platform.ctx);

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
    StopProgramAudio(audio);
    ReleaseRenderResources(res);
    return 0;
}

}  // namespace mervox
