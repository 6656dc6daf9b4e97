// Conversion of decoded sounds to the output device's format, done once when
// a sound is loaded so that the mixer only ever adds samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mervox {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

// Converts PCM (8-bit unsigned or 16-bit signed little-endian, any channel
// count, any rate) to 16-bit stereo at `outRate`. Unsupported input gives an
// empty result.
std::vector<int16_t> ConvertToOutput(const uint8_t* data, size_t bytes, int bitsPerSample,
                                     int channels, int rate, int outRate = kOutputRate);

}  // namespace mervox
