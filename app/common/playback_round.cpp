#include "app/common/playback_round.h"

#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

bool StartPlaybackRound(GameState& g, int runMode, const std::string& recordingPath) {
    StartRoundOutsideTitle(g, runMode, 1);
    return LoadInputLogFile(g, recordingPath);
}

}  // namespace mervox
