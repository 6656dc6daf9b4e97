// Fuzzes the reading of config.txt: any bytes give settings in range, and the
// file written back for them reads back to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "save/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static auto g = std::make_unique<mervox::GameState>();
    const std::string text(reinterpret_cast<const char*>(data), size);
    mervox::ParseConfig(text, *g);
    if (g->FrameSkip < 1 || g->FrameSkip > 10) std::abort();
    const int skip = g->FrameSkip, bgm = g->BGMMODE, se = g->SEMODE;
    mervox::ParseConfig(mervox::FormatConfig(skip, bgm, se), *g);
    if (g->FrameSkip != skip || g->BGMMODE != bgm || g->SEMODE != se) std::abort();
    return 0;
}
