#include "audio/sample_convert.h"

#include <algorithm>

namespace mervox {

std::vector<int16_t> ConvertToOutput(const uint8_t* data, size_t bytes, int bitsPerSample,
                                     int channels, int rate, int outRate) {
    std::vector<int16_t> out;
    if (data == nullptr || channels < 1 || channels > 8 || rate < 1000 || rate > 384000 ||
        (bitsPerSample != 8 && bitsPerSample != 16) || outRate < 1000)
        return out;
    const size_t bytesPerSample = static_cast<size_t>(bitsPerSample / 8);
    const size_t frames = bytes / (bytesPerSample * static_cast<size_t>(channels));
    if (frames == 0) return out;

    auto sample = [&](size_t frame, int ch) -> int {
        const size_t at = (frame * static_cast<size_t>(channels) + static_cast<size_t>(ch)) * bytesPerSample;
        if (bitsPerSample == 8) return (static_cast<int>(data[at]) - 128) << 8;
        return static_cast<int16_t>(static_cast<uint16_t>(data[at] | (data[at + 1] << 8)));
    };
    auto left = [&](size_t f) { return sample(f, 0); };
    auto right = [&](size_t f) { return sample(f, channels > 1 ? 1 : 0); };

    // Linear interpolation between source frames; exact copy at equal rates.
    const size_t outFrames = rate == outRate
        ? frames
        : static_cast<size_t>((static_cast<unsigned long long>(frames) * outRate) / rate);
    out.resize(outFrames * 2);
    for (size_t f = 0; f < outFrames; ++f) {
        if (rate == outRate) {
            out[2 * f] = static_cast<int16_t>(left(f));
            out[2 * f + 1] = static_cast<int16_t>(right(f));
            continue;
        }
        const double pos = static_cast<double>(f) * rate / outRate;
        const size_t i0 = std::min(static_cast<size_t>(pos), frames - 1);
        const size_t i1 = std::min(i0 + 1, frames - 1);
        const double t = pos - static_cast<double>(i0);
        out[2 * f] = static_cast<int16_t>(left(i0) + (left(i1) - left(i0)) * t);
        out[2 * f + 1] = static_cast<int16_t>(right(i0) + (right(i1) - right(i0)) * t);
    }
    return out;
}

}  // namespace mervox
