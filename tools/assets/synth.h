// Building blocks of the generated sounds: oscillators, noise, envelopes,
// filters and level handling, all in 32-bit float samples at 44100 Hz.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "support/lcg.h"

namespace mervox_assets {

inline constexpr int kSampleRate = 44100;
inline constexpr double kTwoPi = 6.283185307179586;

using Mono = std::vector<float>;

struct Stereo {
    std::vector<float> left, right;
    size_t size() const { return left.size(); }
    void resize(size_t n) {
        left.assign(n, 0.0f);
        right.assign(n, 0.0f);
    }
};

inline int Samples(double seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }
inline double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// White noise from a fixed linear congruential sequence (deterministic).
struct Noise {
    mervox::Lcg lcg{0x12345678u};
    float Next() { return static_cast<float>(static_cast<int32_t>(lcg.Next())) / 2147483648.0f; }
};

// Band-limited saw and pulse by the polynomial step correction.
inline double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}
inline double Saw(double phase, double dt) { return 2.0 * phase - 1.0 - PolyBlep(phase, dt); }
inline double Pulse(double phase, double dt, double duty) {
    double p2 = phase + 1.0 - duty;
    if (p2 >= 1.0) p2 -= 1.0;
    return Saw(phase, dt) - Saw(p2, dt);
}
inline double Triangle(double phase) { return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase; }

// One-pole low-pass at `hz`.
struct OnePole {
    double a = 0, z = 0;
    void Set(double hz) { a = 1.0 - std::exp(-kTwoPi * hz / kSampleRate); }
    double Run(double x) { return z += a * (x - z); }
};

// Second-order filter (band-pass or high-pass).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    void BandPass(double hz, double q);
    void HighPass(double hz, double q);
    void LowPass(double hz, double q);
    double Run(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// Attack-decay-sustain-release level at time t (s) of a note held for `held` s.
double Adsr(double t, double held, double attack, double decay, double sustain, double release);

// Raised-cosine fades over the first `in` and last `out` samples.
void FadeEdges(Mono& m, int in, int out);

// Scales `m` so that its loudness (the root mean square of its loudest
// 50 ms) is `rmsDb` dB below full scale, without letting the peak pass
// `peakDb`.
void NormaliseLoudness(Mono& m, double rmsDb, double peakDb);

// Peak and loudest-50-ms RMS of a signal, in linear units.
double Peak(const Mono& m);
double LoudestRms(const Mono& m);

}  // namespace mervox_assets
