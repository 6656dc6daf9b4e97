// Fuzzes the reading of data/scr.hsc: whatever is read is written back and
// reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "save/score_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    uint32_t scores[3] = {mervox::kDefaultHighScores[0], mervox::kDefaultHighScores[1],
                          mervox::kDefaultHighScores[2]};
    const int read = mervox::ParseHighScores(text, scores);
    if (read < 0 || read > 3) std::abort();
    uint32_t again[3] = {0, 0, 0};
    if (mervox::ParseHighScores(mervox::FormatHighScores(scores), again) != 3) std::abort();
    for (int k = 0; k < 3; ++k)
        if (again[k] != scores[k]) std::abort();
    return 0;
}
