#include "tools/assets/synth.h"

#include <algorithm>

namespace mervox_assets {

void Biquad::BandPass(double hz, double q) {
    const double w = kTwoPi * hz / kSampleRate, alpha = std::sin(w) / (2 * q), a0 = 1 + alpha;
    b0 = alpha / a0;
    b1 = 0;
    b2 = -alpha / a0;
    a1 = -2 * std::cos(w) / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::HighPass(double hz, double q) {
    const double w = kTwoPi * hz / kSampleRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha;
    b0 = (1 + c) / 2 / a0;
    b1 = -(1 + c) / a0;
    b2 = (1 + c) / 2 / a0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::LowPass(double hz, double q) {
    const double w = kTwoPi * hz / kSampleRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
    const double a0 = 1 + alpha;
    b0 = (1 - c) / 2 / a0;
    b1 = (1 - c) / a0;
    b2 = (1 - c) / 2 / a0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

double Adsr(double t, double held, double attack, double decay, double sustain, double release) {
    auto level = [&](double u) {
        if (u < attack) return u / attack;
        u -= attack;
        if (u < decay) return 1.0 - (1.0 - sustain) * (u / decay);
        return sustain;
    };
    if (t < 0) return 0;
    if (t < held) return level(t);
    const double r = t - held;
    if (r >= release) return 0;
    return level(held) * (1.0 - r / release);
}

void FadeEdges(Mono& m, int in, int out) {
    const int n = static_cast<int>(m.size());
    in = std::min(in, n);
    out = std::min(out, n);
    for (int i = 0; i < in; ++i) m[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / in));
    for (int i = 0; i < out; ++i)
        m[n - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / out));
}

double Peak(const Mono& m) {
    double p = 0;
    for (float v : m) p = std::max(p, static_cast<double>(std::fabs(v)));
    return p;
}

double LoudestRms(const Mono& m) {
    const int window = Samples(0.05);
    const int n = static_cast<int>(m.size());
    if (n == 0) return 0;
    if (n <= window) {
        double s = 0;
        for (float v : m) s += double(v) * v;
        return std::sqrt(s / n);
    }
    double s = 0, best = 0;
    for (int i = 0; i < n; ++i) {
        s += double(m[i]) * m[i];
        if (i >= window) s -= double(m[i - window]) * m[i - window];
        if (i >= window - 1) best = std::max(best, s);
    }
    return std::sqrt(std::max(best, 0.0) / window);
}

void NormaliseLoudness(Mono& m, double rmsDb, double peakDb) {
    const double rms = LoudestRms(m), peak = Peak(m);
    if (rms <= 0 || peak <= 0) return;
    double gain = std::pow(10.0, rmsDb / 20.0) / rms;
    gain = std::min(gain, std::pow(10.0, peakDb / 20.0) / peak);
    for (float& v : m) v = static_cast<float>(v * gain);
}

}  // namespace mervox_assets
