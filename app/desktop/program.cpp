// The game as a player runs it, on any platform: the start-up, the frame
// loop over the title and the rounds, and the orderly end that saves the
// settings and the high scores. The services it hands out are in
// program_host.cpp, program_drawing.cpp and program_loop.cpp.
#include "app/desktop/program.h"

#include <cstdio>
#include <memory>

#include "app/desktop/program_services.h"
#include "draw/text_drawing.h"
#include "game/simulation.h"
#include "render/render_resources.h"
#include "save/options_file.h"
#include "save/saved_data.h"
#include "title/shown_language.h"

namespace mervox {

namespace {

void WireServices(Program& p) {
    p.soundMessages = SoundMessages{ShowSoundMessageBox};
    p.host.baseDir = p.baseDir;
    p.viewer.baseDir = p.baseDir;
}

void MainLoop(Program& p) {
    GameState& g = *p.g;
    LoadRenderResources(p.res, p.baseDir);
    p.res.keys = p.run.keys;
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
    if (p.log.runs) std::fprintf(stderr, "mervox: the title takes keys\n");

    StartPassTimes(p.log);
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
    if (p.log.runs) std::fprintf(stderr, "mervox: closing; settings and scores %s\n", saved ? "saved" : "NOT saved");
    StopProgramAudio(p.audio);
    LogRunEnd(p.log);
}

}  // namespace

int RunProgramOn(const ProgramPlatform& platform, const ProgramRun& run) {
    auto p = std::make_unique<Program>(platform);
    InitProgramState(*p->g);
    p->g->ScreenMode = run.screenMode;
    p->baseDir = run.baseDir;
    p->run = run;
    StartRunLog(p->log);
    WireServices(*p);
    platform.connect(PlatformEvents{&p->g->QuitRequested, &p->loop});
    if (run.sound) p->audio = StartProgramAudio(*p->g, p->baseDir, p->soundMessages);

    MainLoop(*p);
    CloseDown(*p);
    return 0;
}

}  // namespace mervox
