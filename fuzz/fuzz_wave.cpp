// Fuzzes the reading of the WAV sound files: every layout the reader takes
// (data chunk at byte 36, fact chunk first, sizes past the end) and worse,
// then the conversion to the output at the two usual device rates.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/sample_convert.h"
#include "audio/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file(data, data + size);
    mervox::WaveSound sound;
    mervox::OutputFormat format;
    const int result = mervox::ParseWaveImage(file, "fuzz.wav", sound, format, nullptr);
    if (result != mervox::WaveOk) return 0;
    if (!sound.loaded || sound.data.size() > size) std::abort();
    for (int rate : {44100, 48000}) {
        const std::vector<int16_t> out =
            mervox::ConvertToOutput(sound.data.data(), sound.data.size(), sound.format.bitsPerSample,
                                    sound.format.channels, static_cast<int>(sound.format.samplesPerSec), rate);
        if (out.size() % 2 != 0) std::abort();
    }
    return 0;
}
