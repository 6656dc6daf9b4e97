// Where the generated data files of the game are found: the game folder of
// the build (the `assets` target writes them there).
#pragma once

#include <string>

namespace mervox_test {

inline std::string GameFile(const std::string& relative) {
    return std::string(MERVOX_BINARY_DIR) + "/game/" + relative;
}

}  // namespace mervox_test
