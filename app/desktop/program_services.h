// Inside the program: the Program that owns every service the game runs
// on, and the three services it hands out, each a small interface holding
// the Program: the title's and the round's (`ProgramHost`), the window's
// side of a drawing (`ProgramFrameHooks`), the frame loop's world and the
// window's events (`ProgramLoop`). Only app/desktop's program files include
// this.
#pragma once

#include <memory>
#include <string>

#include "app/board/board_screen.h"
#include "app/board/program_board.h"
#include "app/common/frame_loop.h"
#include "app/desktop/pause.h"
#include "app/desktop/program.h"
#include "app/desktop/run_log.h"
#include "app/services/drawn_frame.h"
#include "app/services/program_audio.h"
#include "app/viewer/watch_session.h"
#include "draw/draw_objects.h"
#include "game/state/game_state.h"
#include "platform/pump_listener.h"
#include "render/render_resources.h"
#include "save/options_file.h"
#include "title/options_screen.h"
#include "title/title_update.h"

namespace mervox {

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
    RunLog log;                    // MERVOX_PACING_LOG, MERVOX_RUN_LOG
};

// A sound file that cannot be used is reported in a message box captioned
// with its path, as the window is there; stderr when no box can be shown.
// Called from the music loader thread too: it touches nothing of the Program.
void ShowSoundMessageBox(const std::string& caption, const std::string& text);

}  // namespace mervox
