// Fuzzes the reading of recordings (data/*.dat): the log written back for
// what was read reads back to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "save/input_log_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::vector<mervox::InputRecord> log(mervox::kInputLogLength);
    static std::vector<mervox::InputRecord> again(mervox::kInputLogLength);
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int count = mervox::ParseInputLog(text, log.data());
    if (count < 0 || count > mervox::kInputLogLength) std::abort();
    for (int k = 0; k < count; ++k)
        if (log[k].frame < 0 || log[k].frame > 99999 || log[k].keys > 255) std::abort();
    const std::string written = mervox::FormatInputLog(log.data());
    const int back = mervox::ParseInputLog(written, again.data());
    if (back > count) std::abort();
    for (int k = 0; k < back; ++k)
        if (again[k].frame != log[k].frame || again[k].keys != log[k].keys) std::abort();
    return 0;
}
