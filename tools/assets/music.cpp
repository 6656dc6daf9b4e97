// The music: seven tracks of two parts each, composed by a small sequencer
// (melody, pad, arpeggio, bass and drums) and encoded as Ogg Vorbis. Track 1
// is calm; key, tempo and intensity rise up to track 7. A part is a whole
// number of bars that starts from silence and fades to silence in its last
// few milliseconds, so any part can follow any other without a click.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tools/assets/ogg_writer.h"
#include "tools/assets/sounds.h"

namespace mervox_assets {

namespace {

constexpr float kOggQuality = 0.3f;
constexpr double kMusicLevel = 0.6;
constexpr int kStepsPerBar = 16;

enum class Voice { Lead, Pad, Arp, Bass, Kick, Snare, Hat, OpenHat, Crash };

struct Event {
    int start = 0;   // sample
    int length = 0;  // samples the note is held (drums: ignored)
    double midi = 0;
    double velocity = 1;
    Voice voice = Voice::Lead;
    double pan = 0;  // -1 left .. +1 right
};

struct TrackPlan {
    int bpm;
    int tonic;  // MIDI note of the key's tonic around middle C
    bool minor;
    int intensity;  // 0 calm .. 6 driving
};

TrackPlan Plan(int track) {
    static const int bpm[7] = {112, 120, 128, 136, 144, 152, 162};
    static const int tonic[7] = {60, 62, 63, 65, 67, 68, 69};  // C, D, E flat, F, G, A flat, A
    static const bool minor[7] = {false, true, false, true, false, true, false};
    return TrackPlan{bpm[track], tonic[track], minor[track], track};
}

// Deterministic choices, seeded per track and part.
struct Dice {
    uint32_t s;
    uint32_t Next() {
        s = s * 1103515245u + 12345u;
        return (s >> 16) & 0x7fff;
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
};

int DegreeToMidi(int degree, const TrackPlan& plan) {
    static const int major[7] = {0, 2, 4, 5, 7, 9, 11};
    static const int minorScale[7] = {0, 2, 3, 5, 7, 8, 10};
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int index = degree - octave * 7;
    return plan.tonic + 12 * octave + (plan.minor ? minorScale[index] : major[index]);
}

bool IsChordTone(int degree, int chordRoot) {
    const int d = ((degree - chordRoot) % 7 + 7) % 7;
    return d == 0 || d == 2 || d == 4;
}

int NearestChordTone(int degree, int chordRoot, int direction) {
    for (int off = 0; off < 4; ++off) {
        const int first = direction >= 0 ? degree + off : degree - off;
        const int second = direction >= 0 ? degree - off : degree + off;
        if (IsChordTone(first, chordRoot)) return first;
        if (IsChordTone(second, chordRoot)) return second;
    }
    return degree;
}

// The first chord tone strictly above (direction +1) or below (-1).
int NextChordTone(int degree, int chordRoot, int direction) {
    int d = degree + direction;
    while (!IsChordTone(d, chordRoot)) d += direction;
    return d;
}

struct Hit {
    int step, length;
};
using Rhythm = std::vector<Hit>;

const std::vector<Rhythm>& CalmRhythms() {
    static const std::vector<Rhythm> r = {
        {{0, 4}, {4, 2}, {6, 2}, {8, 4}, {12, 4}},
        {{0, 6}, {6, 2}, {8, 8}},
        {{0, 2}, {2, 2}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 4}, {4, 4}, {8, 4}, {12, 2}, {14, 2}},
        {{0, 3}, {3, 3}, {6, 2}, {8, 6}, {14, 2}},
    };
    return r;
}

const std::vector<Rhythm>& BusyRhythms() {
    static const std::vector<Rhythm> r = {
        {{0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 3}, {3, 3}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}},
        {{0, 2}, {2, 1}, {3, 1}, {4, 4}, {8, 2}, {10, 2}, {12, 4}},
        {{0, 2}, {2, 2}, {4, 4}, {8, 3}, {11, 3}, {14, 2}},
        {{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 2}, {14, 2}},
    };
    return r;
}

const std::vector<Rhythm>& CadenceRhythms() {
    static const std::vector<Rhythm> r = {
        {{0, 4}, {4, 10}},
        {{0, 2}, {2, 2}, {4, 10}},
        {{0, 12}},
        {{0, 6}, {6, 2}, {8, 6}},
    };
    return r;
}

// One bar of melody as rhythm plus melodic moves.
struct MotifBar {
    Rhythm rhythm;
    std::vector<int> moves;  // scale steps from the previous note
};

MotifBar MakeBar(Dice& dice, const std::vector<Rhythm>& pool) {
    static const int moves[] = {-1, -1, 1, 1, 2, -2, 1, -1, 3, -3, 0, 2};
    MotifBar bar;
    bar.rhythm = pool[dice.Below(static_cast<int>(pool.size()))];
    int last = 0;
    for (size_t i = 0; i < bar.rhythm.size(); ++i) {
        int m = moves[dice.Below(12)];
        if (m == 0 && last == 0) m = 1;  // no long runs of one pitch
        if (m * last < 0 && dice.Below(3) == 0) m = -m;  // some momentum
        bar.moves.push_back(m);
        last = m;
    }
    return bar;
}

struct Part {
    int samples = 0;
    int stepSamples = 0;
    std::vector<Event> events;
};

// Chord roots (scale degrees) bar by bar.
std::vector<int> Progression(const TrackPlan& plan, int part, int bars) {
    std::vector<int> loop;
    if (!plan.minor)
        loop = part == 0 ? std::vector<int>{0, 4, 5, 3} : std::vector<int>{5, 3, 0, 4};
    else
        loop = part == 0 ? std::vector<int>{0, 5, 2, 6} : std::vector<int>{3, 4, 5, 6};
    std::vector<int> chords;
    for (int b = 0; b < bars; ++b) chords.push_back(loop[b % 4]);
    // The second part turns back towards the tonic for whatever follows.
    if (part == 1 && !plan.minor) chords[bars - 2] = 1;
    return chords;
}

Part Compose(int track, int part) {
    const TrackPlan plan = Plan(track);
    Part p;
    p.stepSamples = static_cast<int>(std::lround(kSampleRate * 15.0 / plan.bpm));
    const int barSamples = p.stepSamples * kStepsPerBar;
    int bars = 4 * static_cast<int>(std::lround(36.0 * kSampleRate / barSamples / 4));
    while (bars * barSamples < 31 * kSampleRate) bars += 4;
    while (bars * barSamples > 59 * kSampleRate) bars -= 4;
    p.samples = bars * barSamples;
    const int step = p.stepSamples;
    const std::vector<int> chords = Progression(plan, part, bars);
    Dice dice{0x9e3779b9u ^ static_cast<uint32_t>(track * 977 + part * 131 + 7)};
    const int in = plan.intensity;
    auto add = [&](int bar, int s, int lengthSteps, double midi, double vel, Voice v, double pan) {
        Event e;
        e.start = bar * barSamples + s * step;
        e.length = lengthSteps * step;
        e.midi = midi;
        e.velocity = vel;
        e.voice = v;
        e.pan = pan;
        p.events.push_back(e);
    };

    // Melody: a four-bar phrase (motif, answer, motif again, cadence) that
    // follows the chords; every other phrase varies its second bar.
    const std::vector<Rhythm>& pool = in >= 3 ? BusyRhythms() : CalmRhythms();
    const MotifBar motif = MakeBar(dice, pool);
    const MotifBar answer = MakeBar(dice, pool);
    const MotifBar answer2 = MakeBar(dice, pool);
    MotifBar cadence = MakeBar(dice, CadenceRhythms());
    int degree = 9 + dice.Below(3);  // around the third of the octave above the tonic
    // Keys from G up sing an octave lower, so the melody stays between
    // about G4 and G6 in every track.
    const int octaveDown = plan.tonic >= 66 ? 12 : 0;
    for (int bar = 0; bar < bars; ++bar) {
        const int phrase = bar / 4, inPhrase = bar % 4;
        const MotifBar& mb = inPhrase == 0 || inPhrase == 2 ? motif
                             : inPhrase == 1              ? (phrase % 2 ? answer2 : answer)
                                                          : cadence;
        const int chord = chords[bar];
        // The motif always sets out from the chord tone nearest the same
        // degree, so its repeats are heard as the same figure; every third
        // phrase of four lifts it a third higher for some development.
        const int home = phrase % 4 == 2 ? 11 : 9;
        if (inPhrase == 0 || inPhrase == 2) degree = NearestChordTone(home, chord, 1);
        for (size_t i = 0; i < mb.rhythm.size(); ++i) {
            const Hit h = mb.rhythm[i];
            int next = (i == 0 && (inPhrase == 0 || inPhrase == 2)) ? degree : degree + mb.moves[i];
            if (next > 14 || next < 5) next = degree - mb.moves[i];
            const bool strong = h.step % 4 == 0;
            const bool last = inPhrase == 3 && i + 1 == mb.rhythm.size();
            if (strong) {
                next = NearestChordTone(next, chord, mb.moves[i]);
                // A step that snapped back onto the same pitch moves on to
                // the next chord tone instead.
                if (next == degree && mb.moves[i] != 0 && i > 0)
                    next = NextChordTone(degree, chord, mb.moves[i] > 0 ? 1 : -1);
            }
            // The phrase ends leaning towards the chord's root.
            if (last) next = NearestChordTone(next - (next - (chord + 7)) / 2, chord, 0);
            next = std::clamp(next, 4, 14);
            degree = next;
            add(bar, h.step, h.length, DegreeToMidi(next, plan) - octaveDown, strong ? 1.0 : 0.82, Voice::Lead,
                0.0);
            // The driving tracks double the melody a third below.
            if (in >= 4)
                add(bar, h.step, h.length, DegreeToMidi(next - 2, plan) - octaveDown, strong ? 0.42 : 0.35,
                    Voice::Lead, 0.35);
        }
    }

    // Pad: the chord held through each bar, an octave below the melody.
    for (int bar = 0; bar < bars; ++bar) {
        const int chord = chords[bar];
        for (int t = 0; t < 3; ++t) {
            const int deg = chord + 2 * t;
            add(bar, 0, kStepsPerBar, DegreeToMidi(deg, plan) + (deg > 6 ? -12 : 0), in >= 4 ? 0.7 : 1.0,
                Voice::Pad, t == 0 ? 0.0 : (t == 1 ? -0.5 : 0.5));
        }
    }

    // Arpeggio: chord tones climbing in eighths (middle tracks) or
    // sixteenths (the fast ones), panned from side to side.
    if (in >= 2) {
        const int every = in >= 4 ? 1 : 2;
        for (int bar = 0; bar < bars; ++bar) {
            const int chord = chords[bar];
            const int pattern[4] = {0, 2, 4, 7};
            for (int s = 0, n = 0; s < kStepsPerBar; s += every, ++n) {
                const int deg = chord + pattern[n % 4] + 7;
                add(bar, s, every, DegreeToMidi(deg, plan), s % 4 == 0 ? 1.0 : 0.75, Voice::Arp,
                    (n % 2) ? 0.45 : -0.45);
            }
        }
    }

    // Bass: chord root (and its fifth and octave), busier as tracks rise.
    for (int bar = 0; bar < bars; ++bar) {
        const int root = DegreeToMidi(chords[bar], plan) - 24;
        const int fifth = DegreeToMidi(chords[bar] + 4, plan) - 24;
        struct B {
            int step, len, note;
        };
        std::vector<B> line;
        if (in <= 1)
            line = {{0, 4, root}, {4, 2, root}, {6, 2, root}, {8, 4, fifth}, {12, 4, root}};
        else if (in <= 3)
            line = {{0, 2, root}, {2, 2, root}, {4, 2, root + 12}, {6, 2, root}, {8, 2, root}, {10, 2, fifth},
                    {12, 2, root + 12}, {14, 2, root}};
        else
            line = {{0, 2, root},  {2, 2, root + 12}, {4, 2, root},  {6, 2, root + 12}, {8, 2, root},
                    {10, 2, fifth}, {12, 2, root + 12}, {14, 1, fifth}, {15, 1, root + 12}};
        for (const B& b : line) add(bar, b.step, b.len, b.note, b.step % 4 == 0 ? 1.0 : 0.85, Voice::Bass, 0.0);
    }

    // Drums.
    for (int bar = 0; bar < bars; ++bar) {
        const bool phraseEnd = bar % 4 == 3;
        std::vector<int> kicks;
        if (in == 0) kicks = {0, 8};
        else if (in == 1) kicks = {0, 8, 10};
        else if (in == 2) kicks = {0, 7, 8};
        else if (in == 3) kicks = {0, 6, 8, 11};
        else kicks = {0, 4, 8, 12};
        if (in >= 6) kicks.push_back(14);
        for (int s : kicks) add(bar, s, 1, 0, 1.0, Voice::Kick, 0.0);
        std::vector<int> snares = {4, 12};
        if (phraseEnd && in >= 2) {
            snares = in >= 4 ? std::vector<int>{4, 12, 13, 14, 15} : std::vector<int>{4, 12, 14, 15};
        }
        for (int s : snares) add(bar, s, 1, 0, (s == 4 || s == 12) ? 1.0 : 0.7, Voice::Snare, 0.1);
        for (int s = 0; s < kStepsPerBar; ++s) {
            const bool eighth = s % 2 == 0;
            if (in == 0 && (s % 4) != 2) continue;
            if (in == 1 && !eighth) continue;
            if (in >= 4 && s % 4 == 2) {
                add(bar, s, 1, 0, 0.8, Voice::OpenHat, -0.3);
                continue;
            }
            add(bar, s, 1, 0, eighth ? 0.9 : 0.5, Voice::Hat, -0.3);
        }
        if ((bar == 0 && in >= 1) || (bar % 8 == 0 && in >= 5))
            if (bar < bars - 1) add(bar, 0, 1, 0, 1.0, Voice::Crash, 0.25);
    }
    return p;
}

// ---- rendering ----

void Mix(Stereo& out, int index, double v, double pan) {
    if (index < 0 || index >= static_cast<int>(out.size())) return;
    const double l = std::sqrt(0.5 * (1.0 - pan)), r = std::sqrt(0.5 * (1.0 + pan));
    out.left[index] += static_cast<float>(v * l);
    out.right[index] += static_cast<float>(v * r);
}

void RenderLead(Stereo& out, const Event& e, int intensity, bool narrow, Stereo& echo) {
    const double release = 0.08;
    const int n = e.length + Samples(release);
    const double held = double(e.length) / kSampleRate;
    OnePole a, b;
    a.Set(2000 + 350 * intensity);
    b.Set(2600 + 350 * intensity);
    double phase = 0;
    const double base = NoteHz(e.midi);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        const double vib = 1.0 + 0.0035 * std::sin(kTwoPi * 5.5 * t) * std::clamp((t - 0.15) / 0.2, 0.0, 1.0);
        const double f = base * vib;
        const double dt = f / kSampleRate;
        phase += dt;
        phase -= std::floor(phase);
        const double wave = 0.7 * Pulse(phase, dt, narrow ? 0.25 : 0.5) + 0.3 * Saw(phase, dt);
        const double env = Adsr(t, held, 0.006, 0.15, 0.65, release);
        const double v = b.Run(a.Run(wave)) * env * e.velocity * 0.17;
        Mix(out, e.start + i, v, e.pan);
        Mix(echo, e.start + i, v, 0.0);
    }
}

void RenderPad(Stereo& out, const Event& e) {
    const double release = 0.25;
    const int n = e.length + Samples(release);
    const double held = double(e.length) / kSampleRate;
    Biquad fl, fr;
    fl.LowPass(1300, 0.7);
    fr.LowPass(1300, 0.7);
    const double f = NoteHz(e.midi);
    const double detune[4] = {0.9965, 1.0020, 0.9980, 1.0035};
    double ph[4] = {0, 0.25, 0.5, 0.75};
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        double w[4];
        for (int k = 0; k < 4; ++k) {
            const double dt = f * detune[k] / kSampleRate;
            ph[k] += dt;
            ph[k] -= std::floor(ph[k]);
            w[k] = Saw(ph[k], dt);
        }
        const double env = Adsr(t, held, 0.08, 0.3, 0.7, release) * e.velocity * 0.045;
        const double l = fl.Run(w[0] + w[1]) * env, r = fr.Run(w[2] + w[3]) * env;
        const int idx = e.start + i;
        if (idx >= 0 && idx < static_cast<int>(out.size())) {
            const double pl = std::sqrt(0.5 * (1.0 - e.pan)), pr = std::sqrt(0.5 * (1.0 + e.pan));
            out.left[idx] += static_cast<float>(l * pl * 1.41);
            out.right[idx] += static_cast<float>(r * pr * 1.41);
        }
    }
}

void RenderArp(Stereo& out, const Event& e) {
    const int n = std::min(e.length, Samples(0.12)) + Samples(0.03);
    OnePole a;
    a.Set(3200);
    double phase = 0;
    const double f = NoteHz(e.midi), dt = f / kSampleRate;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        phase += dt;
        phase -= std::floor(phase);
        const double env = std::min(t / 0.002, 1.0) * std::exp(-t / 0.05) * std::min(1.0, (n - i) / 200.0);
        Mix(out, e.start + i, a.Run(Pulse(phase, dt, 0.125)) * env * e.velocity * 0.07, e.pan);
    }
}

void RenderBass(Stereo& out, const Event& e) {
    const double release = 0.04;
    const int n = e.length + Samples(release);
    const double held = double(e.length) / kSampleRate;
    OnePole a, b;
    a.Set(700);
    b.Set(900);
    double phase = 0;
    const double f = NoteHz(e.midi), dt = f / kSampleRate;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        phase += dt;
        phase -= std::floor(phase);
        const double wave = Triangle(phase) + 0.35 * Pulse(phase, dt, 0.5);
        const double env = Adsr(t, held * 0.92, 0.004, 0.12, 0.75, release);
        Mix(out, e.start + i, b.Run(a.Run(wave)) * env * e.velocity * 0.30, e.pan);
    }
}

void RenderDrum(Stereo& out, const Event& e, uint32_t seed) {
    Noise noise;
    noise.lcg.state = seed;
    Biquad f1, f2;
    int n = 0;
    switch (e.voice) {
        case Voice::Kick: n = Samples(0.32); break;
        case Voice::Snare: n = Samples(0.22); f1.BandPass(1900, 0.7); break;
        case Voice::Hat: n = Samples(0.06); f1.HighPass(7500, 0.7); break;
        case Voice::OpenHat: n = Samples(0.22); f1.HighPass(6500, 0.7); break;
        case Voice::Crash: n = Samples(1.4); f1.HighPass(3800, 0.7); f2.BandPass(6500, 0.5); break;
        default: return;
    }
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kSampleRate;
        const double tail = std::min(1.0, (n - i) / 300.0);  // reach zero at the end
        double v = 0;
        switch (e.voice) {
            case Voice::Kick: {
                const double f = 48 + 120 * std::exp(-t / 0.032);
                phase += f / kSampleRate;
                v = std::sin(kTwoPi * phase) * std::exp(-t / 0.16) * 0.55;
                v += noise.Next() * std::exp(-t / 0.002) * 0.15;
                break;
            }
            case Voice::Snare:
                phase += 185.0 / kSampleRate;
                v = std::sin(kTwoPi * phase) * std::exp(-t / 0.045) * 0.18 +
                    f1.Run(noise.Next()) * std::exp(-t / 0.09) * 0.42;
                break;
            case Voice::Hat: v = f1.Run(noise.Next()) * std::exp(-t / 0.018) * 0.16; break;
            case Voice::OpenHat: v = f1.Run(noise.Next()) * std::exp(-t / 0.08) * 0.11; break;
            case Voice::Crash: {
                const double x = noise.Next();
                v = (f1.Run(x) * 0.6 + f2.Run(x) * 0.4) * std::exp(-t / 0.45) * 0.16;
                break;
            }
            default: break;
        }
        v *= std::min(t / 0.0015, 1.0) * tail * e.velocity;
        Mix(out, e.start + i, v, e.pan);
    }
}

Stereo Render(const Part& part, int track) {
    const TrackPlan plan = Plan(track);
    Stereo out;
    out.resize(part.samples);
    Stereo echo;
    echo.resize(part.samples);
    // Every held note ends early enough for its release to finish before
    // the last 30 ms, which fade to silence.
    const int fadeOut = Samples(0.03);
    uint32_t seed = 1;
    for (Event e : part.events) {
        seed = seed * 747796405u + 2891336453u;
        double release = 0.1;
        if (e.voice == Voice::Pad) release = 0.26;
        if (e.voice == Voice::Bass) release = 0.05;
        const int limit = part.samples - fadeOut - Samples(release) - e.start;
        if (limit <= Samples(0.02)) continue;
        e.length = std::min(e.length, limit);
        switch (e.voice) {
            case Voice::Lead: RenderLead(out, e, plan.intensity, track % 2 == 0, echo); break;
            case Voice::Pad: RenderPad(out, e); break;
            case Voice::Arp: RenderArp(out, e); break;
            case Voice::Bass: RenderBass(out, e); break;
            default: RenderDrum(out, e, seed); break;
        }
    }
    // Ping-pong echo of the melody, three sixteenths apart.
    const int delay = part.stepSamples * 3;
    const int n = static_cast<int>(out.size());
    std::vector<float> dl(n, 0.0f), dr(n, 0.0f);
    for (int i = 0; i < n; ++i) {
        const float inL = i >= delay ? echo.left[i - delay] + 0.35f * dr[i - delay] : 0.0f;
        const float inR = i >= delay ? dl[i - delay] * 1.0f : 0.0f;
        dl[i] = inL;
        dr[i] = inR;
        out.left[i] += 0.22f * dl[i];
        out.right[i] += 0.22f * dr[i];
    }
    // Gentle saturation keeps peaks in range, and the music sits about
    // 5 dB under the effects; then the edge fades.
    for (int i = 0; i < n; ++i) {
        out.left[i] = static_cast<float>(kMusicLevel * std::tanh(out.left[i] * 1.1));
        out.right[i] = static_cast<float>(kMusicLevel * std::tanh(out.right[i] * 1.1));
    }
    const int fadeIn = Samples(0.003);
    for (int i = 0; i < fadeIn && i < n; ++i) {
        const float g = static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / fadeIn));
        out.left[i] *= g;
        out.right[i] *= g;
    }
    for (int i = 0; i < fadeOut && i < n; ++i) {
        const float g = static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * 0.5 * i / fadeOut));
        out.left[n - 1 - i] *= g;
        out.right[n - 1 - i] *= g;
    }
    return out;
}

}  // namespace

bool WriteMusic(const std::string& sndDir, int threads, std::string& error) {
    std::atomic<int> nextJob{0};
    std::atomic<bool> failed{false};
    std::vector<std::string> failures(14);
    auto worker = [&]() {
        for (int job; (job = nextJob.fetch_add(1)) < 14;) {
            const int track = job / 2, part = job % 2;
            const std::string name = "bgm" + std::to_string(track + 1) + "-" + std::to_string(part + 1);
            const Stereo pcm = Render(Compose(track, part), track);
            if (!WriteOgg(sndDir + "/" + name + ".ogg", pcm, kOggQuality, 0x6d760000 + job, name)) {
                failures[job] = sndDir + "/" + name + ".ogg";
                failed = true;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < std::max(1, threads); ++t) pool.emplace_back(worker);
    for (std::thread& t : pool) t.join();
    if (failed) {
        for (const std::string& f : failures)
            if (!f.empty()) error += "cannot write " + f + "\n";
        return false;
    }
    return true;
}

}  // namespace mervox_assets
