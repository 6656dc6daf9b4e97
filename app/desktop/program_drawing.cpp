// The program's drawings: the title with its key lines and screens, a
// round with the viewer's overlay over a played-back or practice round,
// the pause's dimming, all at the scale the window asks for.
#include "app/board/board_status_line.h"
#include "app/desktop/program_services.h"
#include "app/viewer/watch_overlay.h"
#include "render/scene_drawing.h"
#include "title/title_drawing.h"

namespace mervox {

namespace {

void PresentWithPause(Program& p) {
    if (p.pause.paused && p.g->RunMode != RunTitle) DrawPauseOverlay(p.drawn.frame.view(), p.pauseFont);
    PresentDrawnFrame(p.drawn, p.platform);
}

// Follows the window's drawing scale: a new size of window or screen
// changes the scale of the next frame drawn.
FrameView FrameToDraw(Program& p) { return FrameToDraw(p.drawn, p.platform, p.res, p.options.drawing); }

}  // namespace

void ProgramFrameHooks::pumpMessagesFor(int milliseconds) const { p_.platform.pumpMessagesFor(milliseconds); }
void ProgramFrameHooks::presentFrame() const {
    if (present_) PresentWithPause(p_);
}

void ProgramHost::drawTitleScreen() const {
    Program& p = p_;
    const FrameView frame = FrameToDraw(p);
    if (!p.platform.readsPlayerActions()) {
        DrawTitleScreen(*p.g, p.res, frame, p.frameHooks);
        return;
    }
    DrawTitleScreen(*p.g, p.res, frame, ProgramFrameHooks(p, false));
    if (p.g->FadeLevel == 0) {
        DrawOptionsKeyLine(frame, p.res);
        DrawBoardKeyLine(frame, p.res);
        if (!p.boardScreen.open) DrawBoardStatusLine(frame, p.res, ProgramBoardStatus(p.board));
    }
    if (p.boardScreen.open) DrawBoardScreen(frame, p.res, p.boardScreen, p.boardTableFont);
    if (p.optionsScreen.open) DrawOptionsScreen(frame, p.res, p.optionsScreen, p.options);
    PresentWithPause(p);
}

void ProgramLoop::drawTitleScreen() { p_.host.drawTitleScreen(); }

void ProgramLoop::drawScene() {
    Program& p = p_;
    if (!PlaysBack(*p.g) && !p.viewer.practice.on) {
        DrawScene(*p.g, p.res, FrameToDraw(p), p.frameHooks);
        return;
    }
    DrawScene(*p.g, p.res, FrameToDraw(p), ProgramFrameHooks(p, false));
    DrawWatchOverlay(p.viewer, p.res, p.drawn.frame.view());
    PresentWithPause(p);
}

}  // namespace mervox
