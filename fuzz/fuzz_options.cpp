// Fuzzes the reading of options.txt: any bytes give options whose written
// file reads back to the same options without a complaint, and every
// complaint names its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "save/options_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> complaints;
    const mervox::Options o = mervox::ParseOptions(text, &complaints);
    for (const std::string& c : complaints)
        if (c.compare(0, 5, "line ") != 0) std::abort();
    std::vector<std::string> again;
    if (mervox::ParseOptions(mervox::FormatOptions(o), &again) != o || !again.empty()) std::abort();
    return 0;
}
