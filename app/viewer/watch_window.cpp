// `mervox --watch`: the viewer in the game's window, with the keyboard, the
// mouse and the millisecond clock of the desktop, and the game's sound.
#include "app/viewer/watch_window.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/viewer/watch_loop.h"
#include "platform/clock.h"
#include "platform/display_check.h"
#include "platform/keyboard.h"
#include "platform/message_pump.h"
#include "platform/player_input.h"
#include "platform/pointer.h"
#include "platform/screen_mode.h"
#include "platform/window.h"
#include "save/config_file.h"

namespace mervox {

namespace {

constexpr int kDecorationHeight = 64;
constexpr int kDecorationWidth = 16;

struct WatchDesktop {
    ProgramWindow window;
    KeyboardState keyboard{};
    PlayerInput input;
    MessagePump pump;
    PointerState pointer;
};

WatchDesktop& W(void* ctx) { return *static_cast<WatchDesktop*>(ctx); }

void Connect(void* ctx, const PlatformEvents& events) {
    WatchDesktop& d = W(ctx);
    d.pump.window = &d.window;
    d.pump.keyboard = &d.keyboard;
    d.pump.input = &d.input;
    d.pump.quitRequested = events.quitRequested;
    d.pump.ctx = events.ctx;
    d.pump.onUserEvent = events.onUserEvent;
}
uint32_t Clock(void*) { return ClockMs(); }
void Pump(void* ctx, int ms) { PumpMessagesFor(W(ctx).pump, ms); }
bool WatchActionDown(void* ctx, ControlAction a) { return PollAction(W(ctx).input, a); }
bool WatchKeyDown(void* ctx, HostKey key) { return PollPlayerKey(W(ctx).input, key); }
void Present(void* ctx, const uint32_t* frame) { PresentFrame(W(ctx).window, frame); }
bool Pointer(void* ctx, int* x, int* y) { return PollPointer(W(ctx).pointer, *x, *y); }

}  // namespace

int RunWatch(const CommandLine& cmd) {
    // Sprites and sounds come from the game folder the game itself would
    // use (an installed game's player folder, say), and the player's sound
    // settings from its config.txt, which the viewer never writes.
    // A recording that cannot be read is said before any window opens.
    GameFolder folder;
    std::string recording;
    if (!OpenRecording(*std::make_unique<GameState>(), cmd.mode, cmd.watchPath, folder, recording)) return 1;
    std::string why;
    auto settings = std::make_unique<GameState>();
    PeekConfigFile(*settings, folder.dir);
    if (!DisplayNamed(why) || !StartVideo(why)) {
        std::fprintf(stderr, "mervox: cannot open the viewer's window (%s)\n", why.c_str());
        return 1;
    }
    if (!VideoDriverShowsWindows(why)) {
        std::fprintf(stderr, "mervox: cannot open the viewer's window (%s)\n", why.c_str());
        StopVideo();
        return 1;
    }
    const DesktopArea desktop = QueryDesktop();
    auto d = std::make_unique<WatchDesktop>();
    ResetKeyboard(d->keyboard);
    d->input.keyboard = &d->keyboard;
    d->input.bindings = LoadInputBindings(folder.dir, false);  // the player's keys, never written
    const int scale =
        WindowScale(cmd.scale, desktop.usableWidth - kDecorationWidth, desktop.usableHeight - kDecorationHeight);
    if (!OpenProgramWindow(d->window, 0, scale, why)) {
        std::fprintf(stderr, "mervox: cannot open the viewer's window (%s)\n", why.c_str());
        StopVideo();
        return 1;
    }
    StartPointer(d->pointer, d->window);
    ProgramPlatform p;
    p.ctx = d.get();
    p.connect = Connect;
    p.clockMs = Clock;
    p.pumpMessagesFor = Pump;
    p.actionDown = WatchActionDown;
    p.keyDown = WatchKeyDown;  // a practice round's keys
    p.presentFrame = Present;
    WatchRun run;
    run.path = recording;
    run.mode = cmd.mode;
    run.at = cmd.at;
    run.takeOver = cmd.takeOver;
    run.sound = true;
    run.baseDir = folder.dir;
    run.bgmMode = settings->BGMMODE;
    run.seMode = settings->SEMODE;
    const int status = RunWatchOn(p, WatchPointer{d.get(), Pointer}, run);
    StopPointer(d->pointer);
    CloseAllPads(d->input);
    CloseProgramWindow(d->window);
    StopVideo();
    return status;
}

}  // namespace mervox
