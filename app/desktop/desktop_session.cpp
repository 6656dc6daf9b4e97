#include "app/desktop/desktop_session.h"

#include "platform/clock.h"
#include "platform/display_check.h"
#include "platform/screen_mode.h"

namespace mervox {

namespace {

// Room left around a window for its frame and the desktop's panels.
constexpr int kDecorationHeight = 64;
constexpr int kDecorationWidth = 16;

DesktopSession& D(void* ctx) { return *static_cast<DesktopSession*>(ctx); }

void DesktopConnect(void* ctx, const PlatformEvents& events) {
    DesktopSession& d = D(ctx);
    d.pump.window = &d.window;
    d.pump.keyboard = &d.keyboard;
    d.pump.input = &d.input;
    d.input.keyboard = &d.keyboard;
    d.pump.quitRequested = events.quitRequested;
    d.pump.ctx = events.ctx;
    d.pump.onUserEvent = events.onUserEvent;
    d.pump.onCommand = events.onCommand;
}
uint32_t DesktopClock(void*) { return ClockMs(); }
void DesktopPump(void* ctx, int ms) { PumpMessagesFor(D(ctx).pump, ms); }
bool DesktopKeyDown(void* ctx, HostKey key) { return PollPlayerKey(D(ctx).input, key); }
bool DesktopActionDown(void* ctx, ControlAction a) { return PollAction(D(ctx).input, a); }
void DesktopPresent(void* ctx, const uint32_t* frame) { PresentFrame(D(ctx).window, frame, D(ctx).drawScale); }
int DesktopDrawScale(void* ctx, DrawingStyle drawing) {
    DesktopSession& d = D(ctx);
    SetWindowSharp(d.window, drawing == DrawingStyle::Sharp);
    return d.drawScale = WantedDrawScale(d.window);
}

// Keys held while the program started must not choose anything on the
// title: wait until Z, R and Escape are up, then forget the presses queued
// meanwhile.
void DesktopBeforeTitle(void* ctx, uint16_t screenMode) {
    DesktopSession& d = D(ctx);
    if (screenMode != 0) BlackenWindow(d.window);
    WaitUntilActionsUp(d.input, {ControlAction::Kick, ControlAction::Replay, ControlAction::Escape});
    ResetKeyboard(d.keyboard);
}

}  // namespace

bool StartDesktop(DesktopSession& d, const std::string& baseDir, bool writeControls, std::string& why) {
    if (!DisplayNamed(why) || !StartVideo(why)) return false;
    if (!VideoDriverShowsWindows(why)) {
        StopVideo();
        return false;
    }
    d.videoStarted = true;
    ResetKeyboard(d.keyboard);
    d.input.keyboard = &d.keyboard;
    d.input.bindings = LoadInputBindings(baseDir, writeControls);
    return true;
}

bool OpenDesktopWindow(DesktopSession& d, uint16_t screenMode, int askedScale, std::string& why) {
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

ProgramPlatform DesktopPlatform(DesktopSession& d) {
    ProgramPlatform s;
    s.ctx = &d;
    s.connect = DesktopConnect;
    s.clockMs = DesktopClock;
    s.pumpMessagesFor = DesktopPump;
    s.keyDown = DesktopKeyDown;
    s.actionDown = DesktopActionDown;
    s.presentFrame = DesktopPresent;
    s.drawScale = DesktopDrawScale;
    s.beforeTitle = DesktopBeforeTitle;
    return s;
}

}  // namespace mervox
