// The frame loop's world: the title's and the rounds' passes with the
// pass's keys, the pause, and the window's events.
#include <cstdio>
#include <string>

#include "app/desktop/program_services.h"
#include "app/viewer/watch_round.h"
#include "game/simulation.h"
#include "title/shown_language.h"

namespace mervox {

namespace {

// Sound holds with the round; a pause that ended with its round lets it go.
void FollowPause(Program& p) {
    const bool held = EndStalePause(p.pause, *p.g);
    if (p.audio) ProgramPauseSound(*p.audio, held);
}

}  // namespace

uint32_t ProgramLoop::clockMs() { return p_.platform.clockMs(); }
void ProgramLoop::pumpMessagesFor(int milliseconds) { p_.platform.pumpMessagesFor(milliseconds); }
ActionFrame ProgramLoop::sampleInput() { return p_.platform.sampleInput(); }

void ProgramLoop::titleUpdate(const ActionFrame& in) {
    Program& p = p_;
    const bool idle = p.g->FadeLevel == 0 && p.g->StartRequested == 0;
    if (p.platform.readsPlayerActions() && !p.optionsScreen.open) {
        std::string chosen;
        const BoardSettings settings = p.board.sender ? p.board.sender->settings() : BoardSettings{};
        if (UpdateBoardScreen(p.boardScreen, settings, idle, in, chosen)) {
            // A ranked round's recording arrived: the viewer plays it.
            if (!chosen.empty() && StartBoardRecording(*p.g, chosen) && p.log.runs)
                std::fprintf(stderr, "mervox: a round of the board opened in the viewer\n");
            return;
        }
    }
    if (p.platform.readsPlayerActions() && UpdateOptionsScreen(p.optionsScreen, p.options, idle, in)) {
        if (p.log.runs && p.optionsScreen.open != p.log.optionsScreenLogged) {
            p.log.optionsScreenLogged = p.optionsScreen.open;
            std::fprintf(stderr, "mervox: options screen %s\n", p.optionsScreen.open ? "opened" : "closed");
        }
        ApplyOptions(p.res, p.options, p.run.inWindow);
        if (!p.optionsScreen.open && p.optionsScreen.changed) {
            p.optionsScreen.changed = false;
            WriteOptionsFile(p.baseDir, p.options);
            ChangeProgramBoard(p.board, p.options, p.baseDir);
        }
        return;
    }
    TitleUpdate(*p.g, p.host, RoundInputOf(in));
}

void ProgramLoop::userEvent(uint32_t type, int32_t code) {
    if (p_.audio) ProgramAudioEvent(*p_.audio, type, code);
}

void ProgramLoop::command(PlayerCommand command) {
    Program& p = p_;
    if (command == PlayerCommand::Screenshot) p.drawn.screenshotWanted = true;
    if (ApplyPauseCommand(p.pause, *p.g, command)) FollowPause(p);
}

void ProgramLoop::roundUpdate(const ActionFrame& in) {
    Program& p = p_;
    if (p.pause.paused && !EndStalePause(p.pause, *p.g)) FollowPause(p);
    if (p.pause.paused) return;
    // A practice round is the viewer's too: it records, rewinds and saves.
    if (PlaysBack(*p.g) || p.viewer.practice.on) {
        WatchRoundPass(p.viewer, *p.g, p.host, in);
        return;
    }
    BeforeRoundUpdate(p.board, *p.g, p.viewer.practice.on);
    UpdateRound(*p.g, p.host, RoundInputOf(in));
    AfterRoundUpdate(p.board, *p.g);
}

void ProgramLoop::passDone() {
    if (p_.run.afterPass) p_.run.afterPass(*p_.g);
    LogPass(p_.log, *p_.g);
}

}  // namespace mervox
