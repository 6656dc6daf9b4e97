#include "app/viewer/watch_loop.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/frame_pacing.h"
#include "app/desktop/drawn_frame.h"
#include "app/desktop/program_audio.h"
#include "app/viewer/watch_overlay.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "save/input_log_file.h"
#include "save/options_file.h"
#include "title/options_screen.h"

namespace mervox {

namespace {

// Held keys repeat their command after this many passes, then every few.
constexpr int kRepeatDelay = 20;
constexpr int kRepeatEvery = 3;
// At the fastest speed a pass plays until this much of it is spent.
constexpr int kFastestPassMs = 14;

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
    {ControlAction::WatchClipStart, WatchCommand::ClipStart, false},
    {ControlAction::WatchClipEnd, WatchCommand::ClipEnd, false},
    {ControlAction::WatchClipExport, WatchCommand::ClipExport, false},
};
constexpr int kBindingCount = sizeof kBindings / sizeof kBindings[0];

static_assert(kBindingCount == kWatchKeyCount, "one held-pass count per viewer key");

// The watched round's sound: effects, voices and the music's level.
class WatchSoundHost final : public RoundHost {
public:
    explicit WatchSoundHost(ProgramAudio& audio) : audio_(audio) {}
    void writeEffect(int effect, bool restart) const override { ProgramWriteEffect(audio_, effect, restart); }
    void playVoice(VoiceClip clip) const override { ProgramPlayVoice(audio_, clip); }
    void preloadMusic() const override { ProgramPreloadMusic(audio_); }

private:
    ProgramAudio& audio_;
};

// What the window's events reach while --watch runs: the music's
// finished buffers and the screenshot key.
class WatchEvents final : public PumpListener {
public:
    WatchEvents(ProgramAudio* audio, DrawnFrame& drawn) : audio_(audio), drawn_(drawn) {}
    void userEvent(uint32_t type, int32_t code) override {
        if (audio_ != nullptr) ProgramAudioEvent(*audio_, type, code);
    }
    void command(PlayerCommand command) override {
        if (command == PlayerCommand::Screenshot) drawn_.screenshotWanted = true;
    }

private:
    ProgramAudio* audio_;
    DrawnFrame& drawn_;
};

void PrintSoundMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

// The practice keys: take over while watching; back 5 s (repeating while
// held) and back to the takeover frame while practising.
struct PracticeBinding {
    ControlAction action;
    PracticeCommand command;
    int held;  // index into practiceHeld; -1: not held while practising
    bool repeats;
};
constexpr PracticeBinding kPracticeBindings[] = {
    {ControlAction::PracticeTakeOver, PracticeCommand::TakeOver, -1, false},
    {ControlAction::PracticeBack5s, PracticeCommand::Back5s, 0, true},
    {ControlAction::PracticeToTakeOver, PracticeCommand::BackToTakeOver, 1, false},
};
constexpr int kRewindRepeatEvery = 6;  // passes between rewinds while the key is held

// The fastest speed's deadline: the pass has spent its time since `start`.
template <class Clock>
PassDeadline DeadlineFrom(const Clock& clock, uint32_t start) {
    return [&clock, start] { return static_cast<int32_t>(clock.clockMs() - start) >= kFastestPassMs; };
}

}  // namespace

void ReadWatchKeys(WatchSession& s, const ActionFrame& in) {
    CollectClipExport(s.clip);
    for (int k = 0; k < kBindingCount; ++k) {
        const bool down = in.down(kBindings[k].action);
        s.heldPasses[k] = !down ? 0 : in.pressedAgain(kBindings[k].action) ? 1 : s.heldPasses[k] + 1;
        const int n = s.heldPasses[k];
        const bool repeat = kBindings[k].repeats && n > kRepeatDelay && (n - kRepeatDelay) % kRepeatEvery == 0;
        if (n == 1 || repeat) ApplyWatchCommand(s, kBindings[k].command);
    }
}


void ReadPracticeKeys(WatchSession& s, const ActionFrame& in) {
    for (const PracticeBinding& b : kPracticeBindings) {
        const bool down = in.down(b.action);
        const bool again = in.pressedAgain(b.action);
        if (b.held < 0) {
            if (down && !s.practice.on && (!s.takeOverHeld || again)) ApplyPracticeCommand(s, b.command);
            s.takeOverHeld = down;
            continue;
        }
        int& n = s.practiceHeld[b.held];
        n = !down || !s.practice.on ? 0 : again ? 1 : n + 1;
        if (n == 1 || (b.repeats && n > kRepeatDelay && (n - kRepeatDelay) % kRewindRepeatEvery == 0))
            ApplyPracticeCommand(s, b.command);
    }
}

namespace {

// The practice round the title's playback round became: its keys, one
// update, and its end (its own, or the player leaving with Escape, which
// goes back to the title at once).
void PracticeRoundPass(WatchSession& s, GameState& g, const RoundHost& host, const ActionFrame& in) {
    ReadPracticeKeys(s, in);
    if (in.down(ControlAction::Escape)) {
        g.RunMode = RunTitle;
        g.FadeLevel = 80;
        if (g.BGMMODE == SoundOn) host.stopMusic();
        // Escape held on the title would quit the game.
        g.KeysToRelease = HostKeyBit(HostKey::Escape);
    } else {
        PracticeUpdate(s.practice, g, host, RoundInputOf(in));
    }
    if (g.RunMode != RunTitle) return;
    const bool saved = FinishPractice(s);
    std::fprintf(saved ? stdout : stderr, "mervox: %s\n", s.closingNote.c_str());
}

}  // namespace

void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host, const ActionFrame& in) {
    if (s.mode == ViewerMode::Practising && s.g == &g) {
        PracticeRoundPass(s, g, host, in);
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
        s.clip.start = s.clip.end = -1;  // marks belong to the round they were made in
        if (!MeasureRound(g, kSnapshotInterval, s.timeline)) s.timeline = RoundTimeline{};
    }
    if (!s.timeline.snapshots.empty()) {
        const int before = WatchFrame(s);
        const bool pausedBefore = s.paused;
        const int speedBefore = s.speed;
        const bool overlayBefore = s.overlay;
        ReadWatchKeys(s, in);
        ReadPracticeKeys(s, in);
        if (s.mode == ViewerMode::Practising) {  // taken over: the next update is the player's
            s.overlay = true;
            PracticeRoundPass(s, g, host, in);
            return;
        }
        const bool command = WatchFrame(s) != before || s.paused != pausedBefore || s.speed != speedBefore;
        if (command && overlayBefore == s.overlay) s.overlay = true;
    }
    if (s.paused) {
        g.FastForward = 0;  // Ctrl held when it paused: the loop draws and waits again
        return;
    }
    PlayWatchPass(s, host, RoundInputOf(in), DeadlineFrom(host, host.clockMs()));
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
    const Options options = ReadOptionsFile(run.baseDir);
    ApplyOptions(res, options, true);  // as the player's window shows rounds
    // Drawn at the scale the window wants, as the game's own frames are.
    auto drawn = std::make_unique<DrawnFrame>();
    StartDrawnFrame(*drawn, run.baseDir);

    ProgramAudioPtr audio;
    std::unique_ptr<WatchSoundHost> sound;
    if (run.sound) {
        audio = StartProgramAudio(*s->g, run.baseDir, SoundMessages{PrintSoundMessage});
        sound = std::make_unique<WatchSoundHost>(*audio);
        s->sound = sound.get();
        ProgramStartMusic(*audio);
    }
    int32_t quit = 0;
    WatchEvents events(audio.get(), *drawn);
    platform.connect(PlatformEvents{&quit, &events});
    s->baseDir = run.baseDir;
    // The practice round hears what the watched round hears; the music
    // plays on to the viewer's end.
    const RoundHost& practiceHost = s->sound != nullptr ? *s->sound : SilentHost();
    if (run.takeOver && !WatchTakeOver(*s)) {
        std::fprintf(stderr, "mervox: the round at frame %d is over and cannot be taken over\n", WatchFrame(*s));
        StopProgramAudio(audio);
        StopDrawnFrame(*drawn);
        ReleaseRenderResources(res);
        return 1;
    }
    bool dragging = false;
    bool buttonBefore = false;
    int step = 0;
    FrameRateMeter meter;  // the frames a second the round's display shows
    uint32_t previous = platform.clockMs();
    while (quit == 0) {
        const uint32_t now = platform.clockMs();
        const int wait = PacingWait(step, now, previous);
        platform.pumpMessagesFor(wait);
        previous = PacingWaitEnd(wait, previous, step, platform.clockMs());
        step = NextPacingStep(step);
        if (quit != 0) break;
        // Every key once, for the whole pass.
        const ActionFrame in = platform.sampleInput();
        if (in.down(ControlAction::WatchLeave)) break;

        switch (s->mode) {
            case ViewerMode::Watching: {
                ReadWatchKeys(*s, in);
                ReadPracticeKeys(*s, in);
                if (s->mode == ViewerMode::Practising) {  // taken over: this update is the player's
                    PracticeUpdate(s->practice, *s->g, practiceHost, RoundInputOf(in));
                    break;
                }
                if (pointer) {
                    int x = 0, y = 0;
                    const bool button = pointer(x, y);
                    // Picture (0, 0) is the frame buffer's (kPictureOrigin, kPictureOrigin).
                    const bool onBar = NearTimelineBar(*s, x + kPictureOrigin, y + kPictureOrigin);
                    if (button && !buttonBefore && onBar) dragging = true;
                    if (!button) dragging = false;
                    if (dragging) WatchSeek(*s, FrameAtBarX(*s, x + kPictureOrigin));
                    buttonBefore = button;
                }
                AdvanceWatch(*s, DeadlineFrom(platform, previous));
                break;
            }
            case ViewerMode::Practising:
                ReadPracticeKeys(*s, in);
                PracticeUpdate(s->practice, *s->g, practiceHost, RoundInputOf(in));
                break;
        }
        if (s->mode == ViewerMode::Practising && s->g->RunMode == RunTitle) break;  // the round's own end
        DrawWatch(*s, res, FrameToDraw(*drawn, platform, res, options.drawing));
        PresentDrawnFrame(*drawn, platform);
        CountPass(meter, *s->g, platform.clockMs());
    }
    int status = 0;
    if (s->mode == ViewerMode::Practising) {
        if (!FinishPractice(*s)) status = 1;
        std::fprintf(status == 0 ? stdout : stderr, "mervox: %s\n", s->closingNote.c_str());
    }
    StopProgramAudio(audio);
    StopDrawnFrame(*drawn);
    ReleaseRenderResources(res);
    return status;
}

}  // namespace mervox
