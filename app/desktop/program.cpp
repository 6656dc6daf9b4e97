// The game as a player runs it: the full-screen question, the window, the
// start-up, the frame loop over the title and the rounds, and the orderly
// end that saves the settings and the high scores.
#include "app/desktop/program.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/board/board_screen.h"
#include "app/board/board_status_line.h"
#include "app/board/program_board.h"
#include "app/common/game_folder.h"
#include "app/desktop/desktop_session.h"
#include "app/desktop/drawn_frame.h"
#include "app/desktop/frame_loop.h"
#include "app/desktop/pause.h"
#include "app/desktop/program_audio.h"
#include "app/viewer/watch_loop.h"
#include "app/viewer/watch_overlay.h"
#include "draw/frame_buffer.h"
#include "draw/text_drawing.h"
#include "game/simulation.h"
#include "platform/clock.h"
#include "platform/display_check.h"
#include "platform/fullscreen_question.h"
#include "platform/message_box.h"
#include "platform/player_input.h"
#include "platform/screen_mode.h"
#include "platform/window.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"
#include "render/sprite_sheet.h"
#include "save/input_log_file.h"
#include "save/options_file.h"
#include "save/saved_data.h"
#include "title/title_drawing.h"
#include "title/options_screen.h"
#include "title/title_update.h"

namespace mervox {

namespace {

constexpr int kPacingLogPasses = 600;

struct Program;

// What the title and the round ask of the world, answered by the program's
// own services: the sound system, the saved files, the clock, the drawing.
class ProgramHost final : public TitleHost {
public:
    explicit ProgramHost(Program& p) : p_(p) {}
    void writeEffect(int effect, bool restart) const override;
    void playVoice(VoiceClip clip) const override;
    void saveScoresAndConfig() const override;
    void saveReplay() const override;
    void preloadMusic() const override;
    void stopMusic() const override;
    unsigned clockMs() const override;
    void startMusic() const override;
    void drawTitleScreen() const override;

private:
    Program& p_;
};

// The window's side of a scene drawing: the message pump at its start and
// the frame presented (with the pause's dimming) at its end.
class ProgramFrameHooks final : public FrameHooks {
public:
    explicit ProgramFrameHooks(Program& p, bool present = true) : p_(p), present_(present) {}
    void pumpMessagesFor(int milliseconds) const override;
    void presentFrame() const override;

private:
    Program& p_;
    bool present_;
};

// The frame loop over the title and the rounds, and the window's events.
class ProgramLoop final : public FrameLoopHooks, public PumpListener {
public:
    explicit ProgramLoop(Program& p) : p_(p) {}
    uint32_t clockMs() override;
    void pumpMessagesFor(int milliseconds) override;
    ActionFrame sampleInput() override;
    void titleUpdate(const ActionFrame& in) override;
    void drawTitleScreen() override;
    void roundUpdate(const ActionFrame& in) override;
    void drawScene() override;
    void passDone() override;
    void userEvent(uint32_t type, int32_t code) override;
    void command(PlayerCommand command) override;

private:
    Program& p_;
};

// The program owns every service it runs on; the services the title, the
// round and the frame loop reach hold the Program itself.
struct Program {
    explicit Program(const ProgramPlatform& on) : platform(on) {}
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    DrawnFrame drawn;   // the back buffer, at the scale the window asks for
    RenderResources res;
    const ProgramPlatform& platform;  // the window, the keyboard, the clock
    ProgramAudioPtr audio;        // null until started and after closing down
    SoundMessages soundMessages;  // to a message box, or stderr without one
    ProgramHost host{*this};
    WatchSession viewer;          // the viewer's keys in played-back rounds
    ProgramFrameHooks frameHooks{*this};
    ProgramLoop loop{*this};
    std::string baseDir = ".";
    ProgramRun run;               // what the program was started with
    PauseState pause;
    Font pauseFont;                // the caption face, large
    Options options;               // options.txt
    OptionsScreen optionsScreen;
    ProgramBoard board;            // finished games to the score board
    BoardScreen boardScreen;       // the board's best rounds, from the title
    Font boardTableFont;           // the board screen's rows
    // Pacing measurement (MERVOX_PACING_LOG).
    bool logPacing = false;
    bool logRuns = false;  // MERVOX_RUN_LOG: a line at every change of RunMode and of the options screen
    bool optionsScreenLogged = false;  // open as last logged
    RunModeValue lastRunMode = RunTitle;
    bool roundTimeRunning = false;  // as last logged: a round with time left
    int loggedPasses = 0;
    double logStart = 0.0;
    double lastPassEnd = 0.0;
    double longestPass = 0.0;
    int latePasses = 0;  // passes that took more than 18 ms
    long totalPasses = 0;
    double runStart = 0.0;
};

// ---- the title's and the round's services -------------------------------------

void ProgramHost::writeEffect(int effect, bool restart) const {
    if (p_.audio) ProgramWriteEffect(*p_.audio, effect, restart);
}
void ProgramHost::playVoice(VoiceClip clip) const {
    if (p_.audio) ProgramPlayVoice(*p_.audio, clip);
}
void ProgramHost::preloadMusic() const {
    if (p_.audio) ProgramPreloadMusic(*p_.audio);
}
void ProgramHost::stopMusic() const {
    if (p_.audio) ProgramStopMusic(*p_.audio);
}
void ProgramHost::startMusic() const {
    if (p_.audio) ProgramStartMusic(*p_.audio);
}
void ProgramHost::saveScoresAndConfig() const { SaveScoresAndConfig(*p_.g, p_.baseDir); }
void ProgramHost::saveReplay() const { SaveReplay(*p_.g, p_.baseDir); }
unsigned ProgramHost::clockMs() const { return p_.platform.clockMs(); }

// A sound file that cannot be used is reported in a message box captioned
// with its path, as the window is there; stderr when no box can be shown.
// Called from the music loader thread too: it touches nothing of the Program.
void ShowSoundMessageBox(const std::string& caption, const std::string& text) {
    if (!ShowErrorMessageBox(caption, text))
        std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

// ---- drawing ---------------------------------------------------------------------

void PresentWithPause(Program& p) {
    if (p.pause.paused && p.g->RunMode != RunTitle) DrawPauseOverlay(p.drawn.frame.view(), p.pauseFont);
    PresentDrawnFrame(p.drawn, p.platform);
}

void ProgramFrameHooks::pumpMessagesFor(int milliseconds) const { p_.platform.pumpMessagesFor(milliseconds); }
void ProgramFrameHooks::presentFrame() const {
    if (present_) PresentWithPause(p_);
}

// Follows the window's drawing scale: a new size of window or screen
// changes the scale of the next frame drawn.
FrameView FrameToDraw(Program& p) { return FrameToDraw(p.drawn, p.platform, p.res, p.options.drawing); }

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

// ---- the frame loop ------------------------------------------------------------

uint32_t ProgramLoop::clockMs() { return p_.platform.clockMs(); }
void ProgramLoop::pumpMessagesFor(int milliseconds) { p_.platform.pumpMessagesFor(milliseconds); }
ActionFrame ProgramLoop::sampleInput() { return p_.platform.sampleInput(); }
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

void ProgramLoop::titleUpdate(const ActionFrame& in) {
    Program& p = p_;
    const bool idle = p.g->FadeLevel == 0 && p.g->StartRequested == 0;
    if (p.platform.readsPlayerActions() && !p.optionsScreen.open) {
        std::string chosen;
        const BoardSettings settings = p.board.sender ? p.board.sender->settings() : BoardSettings{};
        if (UpdateBoardScreen(p.boardScreen, settings, idle, in, chosen)) {
            // A ranked round's recording arrived: the viewer plays it.
            if (!chosen.empty() && StartBoardRecording(*p.g, chosen) && p.logRuns)
                std::fprintf(stderr, "mervox: a round of the board opened in the viewer\n");
            return;
        }
    }
    if (p.platform.readsPlayerActions() && UpdateOptionsScreen(p.optionsScreen, p.options, idle, in)) {
        if (p.logRuns && p.optionsScreen.open != p.optionsScreenLogged) {
            p.optionsScreenLogged = p.optionsScreen.open;
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

// Sound holds with the round; a pause that ended with its round lets it go.
void FollowPause(Program& p) {
    const bool held = EndStalePause(p.pause, *p.g);
    if (p.audio) ProgramPauseSound(*p.audio, held);
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
    Program& p = p_;
    p.totalPasses += 1;
    if (p.run.afterPass) p.run.afterPass(*p.g);
    if (p.logRuns && p.g->RunMode != p.lastRunMode) {
        std::fprintf(stderr, "mervox: run mode %d -> %d after %ld updates\n", p.lastRunMode, p.g->RunMode,
                     p.totalPasses);
        p.lastRunMode = p.g->RunMode;
    }
    const bool timeRunning = p.g->RunMode != RunTitle && p.g->TimeLeft > 0;
    if (p.logRuns && timeRunning != p.roundTimeRunning) {
        if (!timeRunning && p.g->RunMode != RunTitle)
            std::fprintf(stderr, "mervox: the round's end begins after %ld updates\n", p.totalPasses);
        p.roundTimeRunning = timeRunning;
    }
    if (!p.logPacing) return;
    const double now = ClockSeconds();
    const double pass = now - p.lastPassEnd;
    p.lastPassEnd = now;
    if (p.loggedPasses > 0) {
        if (pass > p.longestPass) p.longestPass = pass;
        if (pass > 0.018) p.latePasses += 1;
    }
    if (++p.loggedPasses < kPacingLogPasses) return;
    const double span = now - p.logStart;
    std::fprintf(stderr,
                 "mervox: pacing: %d updates in %.3f s = %.2f updates/s (longest pass %.1f ms, %d over 18 ms)\n",
                 p.loggedPasses, span, span > 0 ? p.loggedPasses / span : 0.0, p.longestPass * 1000.0,
                 p.latePasses);
    p.loggedPasses = 0;
    p.logStart = now;
    p.longestPass = 0.0;
    p.latePasses = 0;
}

void WireServices(Program& p) {
    p.soundMessages = SoundMessages{ShowSoundMessageBox};
    p.host.baseDir = p.baseDir;
    p.viewer.baseDir = p.baseDir;
}

// ---- start-up and end ---------------------------------------------------------

void MainLoop(Program& p) {
    GameState& g = *p.g;
    LoadRenderResources(p.res, p.baseDir);
    p.options = ReadOptionsFile(p.baseDir);
    ApplyOptions(p.res, p.options, p.run.inWindow);
    StartProgramBoard(p.board, p.options, p.baseDir, p.run.boardTiming);
    StartDrawnFrame(p.drawn, p.baseDir);
    p.pauseFont = CreateGameFont(kDefaultFontFile, 48, 700);
    p.boardTableFont = CreateGameFont(kEnglishFontFile, 13, 400);
    const uint32_t previous = p.platform.clockMs();
    ResetScene(g);
    LoadConfigAndScores(g, p.baseDir);
    PutTitleStartCamera(g);
    p.platform.beforeTitle(g.ScreenMode);
    // Keys pressed before this line are forgotten (beforeTitle); the window
    // checks wait for it before their first key.
    if (p.logRuns) std::fprintf(stderr, "mervox: the title takes keys\n");

    p.logStart = p.runStart = p.lastPassEnd = ClockSeconds();
    RunFrameLoop(g, p.loop, previous);

    StopDrawnFrame(p.drawn);
    ReleaseFont(p.pauseFont);
    ReleaseFont(p.boardTableFont);
    ReleaseRenderResources(p.res);
}

// What closing the window does: the settings and scores are saved, the
// sound is released (the window goes after).
void CloseDown(Program& p) {
    // A practice round closed with the window is saved as one left, and
    // the high scores it held aside go back before they are written.
    if (p.viewer.practice.on) {
        const bool practiceSaved = FinishPractice(p.viewer);
        std::fprintf(practiceSaved ? stdout : stderr, "mervox: %s\n", p.viewer.closingNote.c_str());
    }
    StopProgramBoard(p.board);
    const bool saved = SaveScoresAndConfig(*p.g, p.baseDir);
    if (p.logRuns) std::fprintf(stderr, "mervox: closing; settings and scores %s\n", saved ? "saved" : "NOT saved");
    StopProgramAudio(p.audio);
    if (p.logPacing && p.totalPasses > 0) {
        const double span = ClockSeconds() - p.runStart;
        std::fprintf(stderr, "mervox: pacing: run of %ld updates in %.3f s = %.2f updates/s\n", p.totalPasses,
                     span, span > 0 ? p.totalPasses / span : 0.0);
    }
}

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

// The start-up question drawn with the palette and the words' fonts only.
struct QuestionDrawing {
    RenderResources res;
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
};

QuestionAnswer AskInTheWindow(ProgramWindow& window, const PlayerInput& keys, const std::string& baseDir) {
    QuestionDrawing q;
    CreatePalette(q.res.palette);
    q.res.EnglishCaptionFont = CreateGameFont(kEnglishFontFile, 18, 400);
    ApplyOptions(q.res, ReadOptionsFile(baseDir), true);
    QuestionPainter painter;
    painter.draw = [&q](int highlighted) {
        DrawFullScreenQuestion(FrameView(*q.fb), q.res, highlighted);
        return static_cast<const uint32_t*>(q.fb->pixels);
    };
    painter.yes = QuestionButton{kQuestionYes.x0, kQuestionYes.y0, kQuestionYes.x1, kQuestionYes.y1};
    painter.no = QuestionButton{kQuestionNo.x0, kQuestionNo.y0, kQuestionNo.x1, kQuestionNo.y1};
    const QuestionAnswer answer = AskFullScreenInWindow(window, keys, painter);
    if (std::getenv("MERVOX_RUN_LOG") != nullptr)
        std::fprintf(stderr, "mervox: full-screen question answered: %s\n",
                     answer == QuestionAnswer::FullScreen ? "full screen"
                     : answer == QuestionAnswer::Window   ? "window"
                                                          : "quit");
    ReleaseRenderResources(q.res);
    return answer;
}

}  // namespace

int RunProgramOn(const ProgramPlatform& platform, const ProgramRun& run) {
    auto p = std::make_unique<Program>(platform);
    InitProgramState(*p->g);
    p->g->ScreenMode = run.screenMode;
    p->baseDir = run.baseDir;
    p->run = run;
    p->logPacing = std::getenv("MERVOX_PACING_LOG") != nullptr;
    p->logRuns = std::getenv("MERVOX_RUN_LOG") != nullptr;
    WireServices(*p);
    platform.connect(PlatformEvents{&p->g->QuitRequested, &p->loop});
    if (run.sound) p->audio = StartProgramAudio(*p->g, p->baseDir, p->soundMessages);

    MainLoop(*p);
    CloseDown(*p);
    return 0;
}

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
