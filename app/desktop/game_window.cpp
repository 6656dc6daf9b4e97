#include "app/desktop/game_window.h"

#include <cstdio>
#include <memory>
#include <string>

#include "app/common/game_folder.h"
#include "app/desktop/desktop_session.h"
#include "app/desktop/program.h"
#include "app/desktop/startup_question.h"
#include "platform/display_check.h"
#include "platform/screen_mode.h"
#include "render/sprite_sheet.h"

namespace mervox {

namespace {

void NoWindowMessage(const std::string& why) {
    std::fprintf(stderr,
                 "mervox: cannot open the game window (%s).\n"
                 "The game needs a graphical display. Without one, play a recording headless:\n"
                 "  mervox --headless --replay data/demo1.dat --mode 4 [--trace FILE]\n"
                 "  mervox --headless --replay data/demo1.dat --mode 4 --screenshot 600 --out DIR\n"
                 "or time the drawing with:  mervox --timedemo data/demo1.dat --mode 4\n",
                 why.c_str());
}

void SetIconFromFile(ProgramWindow& window, const std::string& baseDir) {
    SpriteSheet icon;
    LoadPngImage(baseDir + "/data/icon.png", icon);
    if (icon.pixels != nullptr) SetWindowIcon(window, icon.pixels, SheetWidth(icon), SheetHeight(icon));
    FreeSpriteSheet(icon);
}

}  // namespace

int RunProgram(const CommandLine& cmd) {
    std::string why;
    GameFolder folder;
    if (!ChooseOwnGameFolder(folder, why)) {
        std::fprintf(stderr, "mervox: %s\n", why.c_str());
        return 1;
    }
    auto d = std::make_unique<DesktopSession>();
    if (!StartDesktop(*d, folder.dir, true, why)) {
        NoWindowMessage(why);
        return 1;
    }

    // Without --windowed or --fullscreen the question is asked in a window
    // of the game's own, which then stays or makes way for the full screen.
    const bool ask = !cmd.fullscreen && !cmd.windowed;
    const DesktopArea desktop = QueryDesktop();
    ProgramRun run;
    run.baseDir = folder.dir;
    run.inWindow = true;
    run.keys = BoundNames(d->input.bindings);
    run.screenMode = ChooseScreenMode(cmd.fullscreen, desktop.width, desktop.height);
    if (!OpenDesktopWindow(*d, run.screenMode, cmd.scale, why)) {
        NoWindowMessage(why);
        CloseDesktop(*d);
        return 1;
    }
    if (ask) {
        const QuestionAnswer answer = AskInTheWindow(d->window, d->input, run.baseDir);
        if (answer == QuestionAnswer::Quit) {
            CloseDesktop(*d);
            return 0;
        }
        if (answer == QuestionAnswer::FullScreen) {
            CloseProgramWindow(d->window);
            run.screenMode = ChooseScreenMode(true, desktop.width, desktop.height);
            if (!OpenDesktopWindow(*d, run.screenMode, cmd.scale, why)) {
                NoWindowMessage(why);
                CloseDesktop(*d);
                return 1;
            }
        }
    }
    SetIconFromFile(d->window, run.baseDir);

    const int status = RunProgramOn(DesktopPlatform(*d), run);
    CloseDesktop(*d);
    return status;
}

}  // namespace mervox
