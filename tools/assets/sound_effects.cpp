// The thirteen effects, synthesised. Each is faded at both ends (no clicks)
// and brought to a common loudness; cnt, which plays almost every other
// update while the score counts up, is much quieter and very short.
#include <algorithm>
#include <cmath>

#include "tools/assets/sounds.h"

namespace mervox_assets {

namespace {

constexpr double kEffectRmsDb = -15.0;
constexpr double kEffectPeakDb = -1.5;

// Sine whose frequency glides exponentially from f0 to f1 over `glide` s.
struct Glide {
    double phase = 0;
    double Next(double t, double f0, double f1, double glide) {
        const double u = std::min(t / glide, 1.0);
        const double f = f0 * std::pow(f1 / f0, u);
        phase += f / kSampleRate;
        phase -= std::floor(phase);
        return std::sin(kTwoPi * phase);
    }
};

// A block shoved one cell: a short low thud with a scrape of filtered noise.
Mono Push() {
    Mono m(Samples(0.16));
    Glide body;
    Noise noise;
    Biquad scrape;
    scrape.BandPass(900, 0.9);
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double thud = body.Next(t, 150, 70, 0.08) * std::exp(-t / 0.05);
        const double grit = scrape.Run(noise.Next()) * std::exp(-t / 0.06) * 0.9;
        m[i] = static_cast<float>(thud + grit);
    }
    return m;
}

// A block kicked away: a punchy low hit and a whoosh that falls in pitch.
Mono Kick() {
    Mono m(Samples(0.30));
    Glide body;
    Noise noise;
    Biquad whoosh;
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        if (i % 64 == 0) whoosh.BandPass(2600 * std::exp(-t / 0.12) + 300, 1.4);
        const double hit = body.Next(t, 220, 55, 0.07) * std::exp(-t / 0.07);
        const double air = whoosh.Run(noise.Next()) * std::min(t / 0.01, 1.0) * std::exp(-t / 0.09) * 1.4;
        m[i] = static_cast<float>(hit + air);
    }
    return m;
}

// A jump: a soft square wave rising quickly.
Mono Jump() {
    Mono m(Samples(0.22));
    OnePole tone;
    tone.Set(3500);
    double phase = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double f = 330 * std::pow(3.0, std::min(t / 0.16, 1.0));
        phase += f / kSampleRate;
        phase -= std::floor(phase);
        const double env = std::min(t / 0.005, 1.0) * std::exp(-t / 0.09);
        m[i] = static_cast<float>(tone.Run(Pulse(phase, f / kSampleRate, 0.35)) * env);
    }
    return m;
}

// Adds one pulse-wave note with a little vibrato to `m`.
void AddBrassNote(Mono& m, double start, double held, double midi, double level) {
    const int s0 = Samples(start);
    const double release = 0.18;
    const int n = Samples(held + release);
    OnePole tone;
    tone.Set(5000);
    double phase = 0;
    for (int i = 0; i < n && s0 + i < static_cast<int>(m.size()); ++i) {
        const double t = double(i) / kSampleRate;
        const double vib = 1.0 + 0.006 * std::sin(kTwoPi * 5.5 * t) * std::min(t / 0.2, 1.0);
        const double f = NoteHz(midi) * vib;
        phase += f / kSampleRate;
        phase -= std::floor(phase);
        const double env = Adsr(t, held, 0.008, 0.12, 0.7, release);
        const double v = 0.6 * Pulse(phase, f / kSampleRate, 0.3) + 0.4 * Saw(phase, f / kSampleRate);
        m[s0 + i] += static_cast<float>(tone.Run(v) * env * level);
    }
}

// Level up: a quick rising arpeggio into a held major chord.
Mono Extend() {
    Mono m(Samples(1.15));
    const double arp[4] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) AddBrassNote(m, 0.075 * k, 0.07, arp[k], 0.5);
    for (double note : {84.0, 88.0, 91.0}) AddBrassNote(m, 0.30, 0.60, note, 0.35);
    AddBrassNote(m, 0.30, 0.60, 60, 0.3);
    return m;
}

// A clock tick for the last ten seconds: two short high partials.
Mono Tick() {
    Mono m(Samples(0.09));
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double env = std::min(t / 0.0015, 1.0) * std::exp(-t / 0.018);
        m[i] = static_cast<float>(env * (std::sin(kTwoPi * 2000 * t) + 0.6 * std::sin(kTwoPi * 3170 * t)));
    }
    return m;
}

// A supplied block lands: a soft wooden knock with a faint ring.
Mono Arrive() {
    Mono m(Samples(0.22));
    Glide body;
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        const double knock = body.Next(t, 320, 160, 0.05) * std::exp(-t / 0.045);
        const double ring = std::sin(kTwoPi * 1320 * t) * std::exp(-t / 0.07) * 0.25;
        m[i] = static_cast<float>((knock + ring) * std::min(t / 0.002, 1.0));
    }
    return m;
}

// A replacement block is due: two quick rising blips.
Mono Prepare() {
    Mono m(Samples(0.20));
    const double notes[2] = {81, 86};
    for (int k = 0; k < 2; ++k) {
        const int s0 = Samples(0.07 * k);
        double phase = 0;
        const double f = NoteHz(notes[k]);
        for (int i = 0; s0 + i < static_cast<int>(m.size()); ++i) {
            const double t = double(i) / kSampleRate;
            phase += f / kSampleRate;
            phase -= std::floor(phase);
            const double env = std::min(t / 0.003, 1.0) * std::exp(-t / 0.04);
            m[s0 + i] += static_cast<float>(Triangle(phase) * env);
        }
    }
    return m;
}

// Score counting: a tiny soft blip.
Mono Count() {
    Mono m(Samples(0.028));
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        m[i] = static_cast<float>(std::sin(kTwoPi * 1760 * t) * std::exp(-t / 0.008));
    }
    return m;
}

// Vanish, link `level` (1-5): a bell whose pitch climbs with the chain, over
// a sparkle that grows brighter.
Mono Vanish(int level) {
    const double notes[5] = {76, 79, 83, 86, 91};  // rising, each a step up a major-key bell
    const double f = NoteHz(notes[level - 1]);
    Mono m(Samples(0.55));
    Noise noise;
    Biquad sparkle;
    sparkle.HighPass(5000, 0.7);
    double pc = 0, pm = 0, p5 = 0;
    for (size_t i = 0; i < m.size(); ++i) {
        const double t = double(i) / kSampleRate;
        pm += 3.5 * f / kSampleRate;
        pm -= std::floor(pm);
        pc += f / kSampleRate;
        pc -= std::floor(pc);
        p5 += 1.5 * f / kSampleRate;
        p5 -= std::floor(p5);
        const double index = 2.2 * std::exp(-t / 0.08);
        const double bell = std::sin(kTwoPi * pc + index * std::sin(kTwoPi * pm));
        const double fifth = std::sin(kTwoPi * p5) * 0.3 * std::exp(-t / 0.12) * (level - 1) / 4.0;
        const double env = std::min(t / 0.003, 1.0) * std::exp(-t / 0.16);
        const double air = sparkle.Run(noise.Next()) * std::exp(-t / 0.05) * (0.25 + 0.08 * level);
        m[i] = static_cast<float>((bell + fifth) * env + air);
    }
    return m;
}

}  // namespace

const char* EffectFileName(int k) {
    static const char* const names[kEffectCount] = {"push.wav", "kick.wav", "jump.wav", "extend.wav",
                                                    "tick.wav", "adm.wav",  "prep.wav", "cnt.wav",
                                                    "van1.wav", "van2.wav", "van3.wav", "van4.wav",
                                                    "van5.wav"};
    return (k >= 0 && k < kEffectCount) ? names[k] : "";
}

Mono MakeEffect(int k) {
    Mono m;
    double rmsDb = kEffectRmsDb;
    switch (k) {
        case 0: m = Push(); break;
        case 1: m = Kick(); break;
        case 2: m = Jump(); rmsDb -= 2; break;
        case 3: m = Extend(); break;
        case 4: m = Tick(); rmsDb -= 3; break;
        case 5: m = Arrive(); rmsDb -= 3; break;
        case 6: m = Prepare(); rmsDb -= 3; break;
        case 7: m = Count(); rmsDb = -29; break;
        default: m = Vanish(k - 7); break;
    }
    FadeEdges(m, Samples(0.002), Samples(0.012));
    NormaliseLoudness(m, rmsDb, kEffectPeakDb);
    return m;
}

}  // namespace mervox_assets
