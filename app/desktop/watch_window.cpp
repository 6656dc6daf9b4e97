// `mervox --watch`: the viewer in the game's window, on the desktop the
// game itself runs on (keyboard, pads, clock, the drawing scale the window
// wants), with the mouse for the timeline and the game's sound.
#include "app/desktop/watch_window.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/desktop/desktop_session.h"
#include "app/viewer/watch_loop.h"
#include "platform/pointer.h"
#include "save/config_file.h"

namespace mervox {

namespace {

struct WatchDesktop {
    DesktopSession desktop;
    PointerState pointer;
};

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
    auto d = std::make_unique<WatchDesktop>();
    // The player's keys, never written.
    if (!StartDesktop(d->desktop, folder.dir, false, why) || !OpenDesktopWindow(d->desktop, ScreenWindowed, cmd.scale, why)) {
        std::fprintf(stderr, "mervox: cannot open the viewer's window (%s)\n", why.c_str());
        CloseDesktop(d->desktop);
        return 1;
    }
    StartPointer(d->pointer, d->desktop.window);
    d->desktop.pump.pointer = &d->pointer;
    WatchRun run;
    run.path = recording;
    run.mode = cmd.mode;
    run.at = cmd.at;
    run.takeOver = cmd.takeOver;
    run.sound = true;
    run.baseDir = folder.dir;
    run.keys = BoundNames(d->desktop.input.bindings);
    run.bgmMode = settings->BGMMODE;
    run.seMode = settings->SEMODE;
    PointerState& pointer = d->pointer;
    const int status =
        RunWatchOn(DesktopPlatform(d->desktop), [&pointer](int& x, int& y) { return PollPointer(pointer, x, y); }, run);
    StopPointer(d->pointer);
    CloseDesktop(d->desktop);
    return status;
}

}  // namespace mervox
