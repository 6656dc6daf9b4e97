#include "app/common/playback_round.h"

#include <cstdio>

#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

bool StartPlaybackRound(GameState& g, RunModeValue runMode, const std::string& recordingPath) {
    StartRoundOutsideTitle(g, runMode, PlaybackOn);
    return LoadInputLogFile(g, recordingPath);
}

bool OpenRecording(GameState& g, RunModeValue runMode, const std::string& named, GameFolder& folder,
                   std::string& recordingPath, bool needsPictures) {
    std::string why;
    if (!ChooseOwnGameFolder(folder, why)) {
        if (needsPictures) {
            std::fprintf(stderr, "mervox: %s\n", why.c_str());
            return false;
        }
        folder = GameFolder{".", false};
    }
    recordingPath = FindRecording(named, folder);
    if (!StartPlaybackRound(g, runMode, recordingPath)) {
        std::fprintf(stderr, "mervox: cannot open recording %s\n", named.c_str());
        return false;
    }
    return true;
}

}  // namespace mervox
