// The recordings shipped with the game, as their files read.
#pragma once

#include <string>
#include <vector>

namespace mervox::board {

struct ShippedRecording {
    std::string file;  // "demo1.dat"
    std::string text;
};

const std::vector<ShippedRecording>& ShippedRecordingTexts();

}  // namespace mervox::board
