#include "save/saved_data.h"

#include "save/config_file.h"
#include "save/score_file.h"

namespace mervox {

void LoadConfigAndScores(GameState& g, const std::string& baseDir) {
    ReadConfigFile(g, baseDir);
    ReadHighScoreFile(g, baseDir);
    SaveScoresAndConfig(g, baseDir);
}

bool SaveScoresAndConfig(const GameState& g, const std::string& baseDir) {
    const bool scores = WriteHighScoreFile(g, baseDir);
    const bool config = WriteConfigFile(g, baseDir);
    return scores && config;
}

}  // namespace mervox
