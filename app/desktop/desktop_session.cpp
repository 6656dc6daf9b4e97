#include "app/desktop/desktop_session.h"

#include "platform/clock.h"
#include "platform/display_check.h"
#include "platform/screen_mode.h"

namespace mervox {

namespace {

// Room left around a window for its frame and the desktop's panels.
constexpr int kDecorationHeight = 64;
constexpr int kDecorationWidth = 16;

}  // namespace

bool StartDesktop(DesktopSession& d, const std::string& baseDir, bool writeControls, std::string& why) {
    if (!DisplayNamed(why) || !StartVideo(why)) return false;
    if (!VideoDriverShowsWindows(why)) {
        StopVideo();
        return false;
    }
    d.videoStarted = true;
    d.input.bindings = LoadInputBindings(baseDir, writeControls);
    return true;
}

bool OpenDesktopWindow(DesktopSession& d, ScreenModeValue screenMode, int askedScale, std::string& why) {
    const DesktopArea desktop = QueryDesktop();
    const int scale =
        WindowScale(askedScale, desktop.usableWidth - kDecorationWidth, desktop.usableHeight - kDecorationHeight);
    return OpenProgramWindow(d.window, screenMode, scale, why);
}

void CloseDesktop(DesktopSession& d) {
    CloseAllPads(d.input);
    if (!d.videoStarted) return;
    CloseProgramWindow(d.window);
    StopVideo();
    d.videoStarted = false;
}

void DesktopPlatform::connect(const PlatformEvents& events) const {
    d_.pump.window = &d_.window;
    d_.pump.input = &d_.input;
    d_.pump.quitRequested = events.quitRequested;
    d_.pump.listener = events.listener;
}

uint32_t DesktopPlatform::clockMs() const { return ClockMs(); }

void DesktopPlatform::pumpMessagesFor(int milliseconds) const { PumpMessagesFor(d_.pump, milliseconds); }

ActionFrame DesktopPlatform::sampleInput() const {
    DispatchPendingMessages(d_.pump);
    return SampleActions(d_.input);
}

void DesktopPlatform::presentFrame(const uint32_t* frame) const { PresentFrame(d_.window, frame, d_.drawScale); }

int DesktopPlatform::drawScale(DrawingStyle drawing) const {
    SetWindowSharp(d_.window, drawing == DrawingStyle::Sharp);
    return d_.drawScale = WantedDrawScale(d_.window);
}

void DesktopPlatform::beforeTitle(ScreenModeValue screenMode) const {
    if (screenMode != ScreenWindowed) BlackenWindow(d_.window);
    WaitUntilActionsUp(d_.input, {ControlAction::Kick, ControlAction::Replay, ControlAction::Escape});
}

}  // namespace mervox
