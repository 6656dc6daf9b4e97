// The "ready" and "go" voice clips: said by espeak-ng, then resampled to the
// effects' format, trimmed, faded and levelled.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tools/assets/sounds.h"
#include "tools/assets/wav_writer.h"

namespace mervox_assets {

namespace {

// Quotes `s` for the shell (single quotes).
std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// Cubic (Catmull-Rom) resampling from `rate` to 44100 Hz.
Mono Resample(const Mono& in, int rate) {
    if (rate == kSampleRate || in.empty()) return in;
    const double step = double(rate) / kSampleRate;
    const size_t n = static_cast<size_t>(std::floor((in.size() - 1) / step)) + 1;
    Mono out(n);
    auto at = [&](long i) { return in[std::clamp<long>(i, 0, long(in.size()) - 1)]; };
    for (size_t k = 0; k < n; ++k) {
        const double x = k * step;
        const long i = static_cast<long>(std::floor(x));
        const double t = x - i;
        const double p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        out[k] = static_cast<float>(p1 + 0.5 * t *
                                             (p2 - p0 + t * (2 * p0 - 5 * p1 + 4 * p2 - p3 +
                                                             t * (3 * (p1 - p2) + p3 - p0))));
    }
    return out;
}

// Drops leading and trailing near-silence, keeping a few milliseconds.
Mono Trim(const Mono& m) {
    const double threshold = 0.01 * Peak(m);
    size_t a = 0, b = m.size();
    while (a < b && std::fabs(m[a]) <= threshold) ++a;
    while (b > a && std::fabs(m[b - 1]) <= threshold) --b;
    const size_t pad = Samples(0.01);
    a = a > pad ? a - pad : 0;
    b = std::min(m.size(), b + pad);
    return Mono(m.begin() + a, m.begin() + b);
}

}  // namespace

bool MakeVoice(const std::string& text, const std::string& espeakArgs, const std::string& scratchWav,
               Mono& out, std::string& error) {
    const std::string cmd = "espeak-ng " + espeakArgs + " -w " + Quote(scratchWav) + " " + Quote(text) +
                            " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) {
        error = "espeak-ng could not say \"" + text + "\" (is espeak-ng installed?)";
        return false;
    }
    Mono raw;
    int rate = 0;
    const bool read = ReadWavMono(scratchWav, raw, rate);
    std::remove(scratchWav.c_str());
    if (!read || raw.empty() || rate <= 0) {
        error = "espeak-ng output for \"" + text + "\" is not a readable WAV file";
        return false;
    }
    // Remove any offset, then bring to the clip's rate and level.
    double mean = 0;
    for (float v : raw) mean += v;
    mean /= raw.size();
    for (float& v : raw) v = static_cast<float>(v - mean);
    out = Trim(Resample(raw, rate));
    // A short slap-back echo gives the announcer a little room.
    const int delay = Samples(0.045);
    Mono wet(out.size() + delay, 0.0f);
    for (size_t i = 0; i < out.size(); ++i) {
        wet[i] += out[i];
        wet[i + delay] += 0.22f * out[i];
    }
    out.swap(wet);
    FadeEdges(out, Samples(0.004), Samples(0.03));
    NormaliseLoudness(out, -13.0, -1.0);
    return true;
}

}  // namespace mervox_assets
