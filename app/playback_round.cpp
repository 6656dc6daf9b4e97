#include "app/playback_round.h"

#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

bool StartPlaybackRound(GameState& g, int runMode, const std::string& recordingPath) {
    InitProgramState(g);
    ResetScene(g);
    g.BGMMODE = 1;
    g.SEMODE = 0;
    g.Playback = 1;
    g.RunMode = runMode;
    ResetScene(g);
    g.StartRequested = 0;
    g.ArrowLatch = 0;
    return LoadInputLogFile(g, recordingPath);
}

}  // namespace mervox
