#include "app/viewer/watch_loop.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/frame_loop.h"
#include "app/common/frame_pacing.h"
#include "app/services/drawn_frame.h"
#include "app/services/program_audio.h"
#include "app/viewer/practice_pass.h"
#include "app/viewer/viewer_keys.h"
#include "app/viewer/watch_overlay.h"
#include "app/viewer/watch_services.h"
#include "app/viewer/watch_session.h"
#include "render/render_resources.h"
#include "save/controls_file.h"
#include "save/options_file.h"
#include "title/shown_language.h"

namespace mervox {

namespace {

// What --watch shows and sounds through besides the session.
struct WatchOutputs {
    RenderResources res;
    Options options;
    std::unique_ptr<DrawnFrame> drawn = std::make_unique<DrawnFrame>();
    ProgramAudioPtr audio;
    std::unique_ptr<WatchSoundHost> sound;
};

void StartOutputs(WatchOutputs& o, WatchSession& s, const WatchRun& run) {
    LoadRenderResources(o.res, run.baseDir);
    o.res.keys = run.keys;
    o.options = ReadOptionsFile(run.baseDir);
    ApplyOptions(o.res, o.options, true);  // as the player's window shows rounds
    // Drawn at the scale the window wants, as the game's own frames are.
    StartDrawnFrame(*o.drawn, run.baseDir);
    if (!run.sound) return;
    o.audio = StartProgramAudio(*s.g, run.baseDir, SoundMessages{PrintSoundMessage});
    o.sound = std::make_unique<WatchSoundHost>(*o.audio);
    s.sound = o.sound.get();
    ProgramStartMusic(*o.audio);
}

void StopOutputs(WatchOutputs& o) {
    StopProgramAudio(o.audio);
    StopDrawnFrame(*o.drawn);
    ReleaseRenderResources(o.res);
}

// The mouse on the timeline: a press on the bar starts a drag that seeks
// until the button is let go.
struct TimelineDrag {
    bool dragging = false;
    bool buttonBefore = false;
};

void FollowPointer(TimelineDrag& d, WatchSession& s, const WatchPointer& pointer) {
    if (!pointer) return;
    int x = 0, y = 0;
    const bool button = pointer(x, y);
    // Picture (0, 0) is the frame buffer's (kPictureOrigin, kPictureOrigin).
    const bool onBar = NearTimelineBar(s, x + kPictureOrigin, y + kPictureOrigin);
    if (button && !d.buttonBefore && onBar) d.dragging = true;
    if (!button) d.dragging = false;
    if (d.dragging) WatchSeek(s, FrameAtBarX(s, x + kPictureOrigin));
    d.buttonBefore = button;
}

// --watch's passes: the viewer's keys and the pointer while watching, the
// practice round's pass once taken over, a drawing every pass.
class WatchPasses final : public PassHooks {
public:
    WatchPasses(const ProgramPlatform& platform, const WatchPointer& pointer, WatchSession& s, WatchOutputs& o,
                const RoundHost& practiceHost, const int32_t& quit)
        : platform_(platform), pointer_(pointer), s_(s), o_(o), practiceHost_(practiceHost), quit_(quit) {}
    uint32_t clockMs() override { return platform_.clockMs(); }
    void pumpMessagesFor(int milliseconds) override { platform_.pumpMessagesFor(milliseconds); }
    ActionFrame sampleInput() override { return platform_.sampleInput(); }
    bool quitting() const override { return quit_ != 0 || ended_; }
    void pass(const ActionFrame& in, uint32_t waitEnd) override;

private:
    // Whether the practice round's pass ended it.
    bool Practise(const ActionFrame& in, bool keysRead) {
        ended_ = PracticePass(s_, practiceHost_, in, keysRead);
        return ended_;
    }

    const ProgramPlatform& platform_;
    const WatchPointer& pointer_;
    WatchSession& s_;
    WatchOutputs& o_;
    const RoundHost& practiceHost_;
    const int32_t& quit_;  // the window was closed
    bool ended_ = false;   // left, or the practice round's own end
    TimelineDrag drag_;
    FrameRateMeter meter_;  // the frames a second the round's display shows
};

void WatchPasses::pass(const ActionFrame& in, uint32_t waitEnd) {
    if (in.down(ControlAction::WatchLeave)) {
        ended_ = true;
        return;
    }
    if (s_.mode == ViewerMode::Practising) {
        if (Practise(in, false)) return;
    } else {
        ReadWatchKeys(s_, in);
        ReadPracticeKeys(s_, in);
        if (s_.mode == ViewerMode::Practising) {  // taken over: this update is the player's
            if (Practise(in, true)) return;
        } else {
            FollowPointer(drag_, s_, pointer_);
            AdvanceWatch(s_, DeadlineFrom(platform_, waitEnd));
        }
    }
    DrawWatch(s_, o_.res, FrameToDraw(*o_.drawn, platform_, o_.res, o_.options.drawing));
    PresentDrawnFrame(*o_.drawn, platform_);
    CountPass(meter_, *s_.g, platform_.clockMs());
}

// A practice round still on when the viewer ends is saved. Returns the exit
// status.
int EndWatch(WatchSession& s) {
    if (s.mode != ViewerMode::Practising) return 0;
    const int status = FinishPractice(s) ? 0 : 1;
    std::fprintf(status == 0 ? stdout : stderr, "mervox: %s\n", s.closingNote.c_str());
    return status;
}

}  // namespace

int RunWatchOn(const ProgramPlatform& platform, const WatchPointer& pointer, const WatchRun& run) {
    auto s = std::make_unique<WatchSession>();
    std::string error;
    if (!OpenWatch(*s, run.path, run.mode, run.at, error, run.sound ? run.bgmMode : SoundOff,
                   run.sound ? run.seMode : SoundOn)) {
        std::fprintf(stderr, "mervox: %s\n", error.c_str());
        return 1;
    }
    WatchOutputs out;
    StartOutputs(out, *s, run);
    int32_t quit = 0;
    WatchEvents events(out.audio.get(), *out.drawn);
    platform.connect(PlatformEvents{&quit, &events});
    s->baseDir = run.baseDir;
    if (run.takeOver && !WatchTakeOver(*s)) {
        std::fprintf(stderr, "mervox: the round at frame %d is over and cannot be taken over\n", WatchFrame(*s));
        StopOutputs(out);
        return 1;
    }
    // The practice round hears what the watched round hears; the music
    // plays on to the viewer's end.
    const RoundHost& practiceHost = s->sound != nullptr ? *s->sound : SilentHost();
    WatchPasses passes(platform, pointer, *s, out, practiceHost, quit);
    RunPacedPasses(passes, platform.clockMs());
    const int status = EndWatch(*s);
    StopOutputs(out);
    return status;
}

}  // namespace mervox
