// Fuzzes the music files: vorbisfile and the game's music decoder, which
// reads a whole .ogg file and converts it to the output format.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/ogg_decode.h"

namespace {

// The decoder reads a file by name: the input is written to one per process.
const std::string& ScratchPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/mervox-fuzz-ogg-" + std::to_string(getpid()) + ".ogg";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(ScratchPath().c_str(), "wb");
    if (f == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    std::vector<int16_t> pcm;
    mervox::OutputFormat format;
    format.samplesPerSec = 44100;
    const int result = mervox::DecodeOggFile(ScratchPath(), pcm, format, nullptr);
    if (result == mervox::OggOk && pcm.size() % 2 != 0) std::abort();
    return 0;
}
