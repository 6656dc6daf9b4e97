#include "app/viewer/watch_loop.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/frame_pacing.h"
#include "app/desktop/program_audio.h"
#include "app/viewer/watch_overlay.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"

namespace mervox {

namespace {

// Held keys repeat their command after this many passes, then every few.
constexpr int kRepeatDelay = 20;
constexpr int kRepeatEvery = 3;
// At the fastest speed a pass plays until this much of it is spent.
constexpr int kFastestPassMs = 14;

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

// The fastest speed's deadline on a platform's clock.
struct PassClock {
    const ProgramPlatform* platform;
    uint32_t start;
};

bool PassOver(void* ctx) {
    auto* c = static_cast<PassClock*>(ctx);
    return static_cast<int32_t>(c->platform->clockMs(c->platform->ctx) - c->start) >= kFastestPassMs;
}

// The same deadline on the round host's clock.
struct HostPassClock {
    const RoundHost* host;
    unsigned start;
};

bool HostPassOver(void* ctx) {
    auto* c = static_cast<HostPassClock*>(ctx);
    return static_cast<int32_t>(c->host->clockMs(c->host->ctx) - c->start) >= kFastestPassMs;
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

void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host) {
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
        HostKeys keys{&host};
        PollWatchKeys(s, HostKeyHook, &keys);
        const bool command = WatchFrame(s) != before || s.paused != pausedBefore || s.speed != speedBefore;
        if (command && overlayBefore == s.overlay) s.overlay = true;
    }
    if (s.paused) {
        g.FastForward = 0;  // Ctrl held when it paused: the loop draws and waits again
        return;
    }
    PassDeadline deadline;
    HostPassClock clock{&host, 0};
    if (host.clockMs != nullptr) {
        clock.start = host.clockMs(host.ctx);
        deadline = PassDeadline{HostPassOver, &clock};
    }
    PlayWatchPass(s, host, deadline);
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

        switch (s->mode) {
            case ViewerMode::Watching: {
                PollWatchKeys(*s, platform.keyDown, platform.ctx);
                if (pointer.poll != nullptr) {
                    int x = 0, y = 0;
                    const bool button = pointer.poll(pointer.ctx, &x, &y);
                    // Picture (0, 0) is the frame buffer's (1, 1).
                    const bool onBar = NearTimelineBar(*s, x + 1, y + 1);
                    if (button && !buttonBefore && onBar) dragging = true;
                    if (!button) dragging = false;
                    if (dragging) WatchSeek(*s, FrameAtBarX(*s, x + 1));
                    buttonBefore = button;
                }
                PassClock passClock{&platform, previous};
                AdvanceWatch(*s, PassDeadline{PassOver, &passClock});
                break;
            }
        }
        DrawWatch(*s, res, *fb);
        if (platform.presentFrame != nullptr) platform.presentFrame(platform.ctx, fb->pixels);
    }
    StopProgramAudio(audio);
    ReleaseRenderResources(res);
    return 0;
}

}  // namespace mervox
