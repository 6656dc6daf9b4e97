#include "app/common/playback_round.h"

#include <cstdio>
#include <filesystem>
#include <regex>

#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

RunModeValue DefaultModeFor(const std::string& recordingPath) {
    static const std::regex tutorial("tuto(-[0-9]+-[0-9]{8}-[0-9]{6}(-[0-9]+)?)?");
    const std::string stem = std::filesystem::path(recordingPath).stem().string();
    return std::regex_match(stem, tutorial) ? RunTutorial : RunGame;
}

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
