// The generated music: fourteen Ogg Vorbis parts that the game's decoder
// reads at the effects' rate (44100 Hz, two channels, 16-bit), each 30 to 60
// seconds long, that join without a click in every order the player can
// chain them (a track's first part into its second, a second part into any
// track's first part).
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/assets/game_files.h"

namespace {

struct Decoded {
    bool ok = false;
    long rate = 0;
    int channels = 0;
    int64_t frames = 0;
    std::vector<int16_t> pcm;  // interleaved
};

std::string PartName(int track, int part) {
    return "bgm" + std::to_string(track + 1) + "-" + std::to_string(part + 1);
}

Decoded Decode(const std::string& name) {
    Decoded d;
    const std::string path = mervox_test::GameFile("snd/" + name + ".ogg");
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return d;
    const vorbis_info* info = ov_info(&vf, -1);
    d.rate = info->rate;
    d.channels = info->channels;
    d.frames = ov_pcm_total(&vf, -1);
    char buf[4096];
    int section = 0;
    for (;;) {
        const long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (n <= 0) {
            d.ok = n == 0;
            break;
        }
        const int16_t* s = reinterpret_cast<const int16_t*>(buf);
        d.pcm.insert(d.pcm.end(), s, s + n / 2);
    }
    ov_clear(&vf);
    return d;
}

// All fourteen parts, decoded once for the whole suite.
const std::vector<Decoded>& Parts() {
    static const std::vector<Decoded> parts = [] {
        std::vector<Decoded> v;
        for (int t = 0; t < 7; ++t)
            for (int p = 0; p < 2; ++p) v.push_back(Decode(PartName(t, p)));
        return v;
    }();
    return parts;
}

int AbsMax(const std::vector<int16_t>& s, size_t from, size_t to) {
    int m = 0;
    for (size_t i = from; i < to && i < s.size(); ++i) m = std::max(m, std::abs(int(s[i])));
    return m;
}

TEST(MusicFiles, EveryPartDecodesAt44100HzStereoAndLastsHalfAMinuteToAMinute) {
    for (int t = 0; t < 7; ++t)
        for (int p = 0; p < 2; ++p) {
            SCOPED_TRACE(PartName(t, p));
            const Decoded& d = Parts()[t * 2 + p];
            ASSERT_TRUE(d.ok) << "missing or undecodable (build the assets target)";
            EXPECT_EQ(d.rate, 44100);
            EXPECT_EQ(d.channels, 2);
            EXPECT_EQ(int64_t(d.pcm.size()), d.frames * 2) << "decoded length differs from the stream's";
            const double seconds = double(d.frames) / 44100;
            EXPECT_GE(seconds, 30.0);
            EXPECT_LE(seconds, 60.0);
            // Music, not silence, and no clipping.
            double sum = 0;
            for (int16_t v : d.pcm) sum += double(v) * v;
            const double rmsDb = 20 * std::log10(std::sqrt(sum / std::max<size_t>(1, d.pcm.size())) / 32768.0);
            EXPECT_GT(rmsDb, -32.0);
            EXPECT_LT(AbsMax(d.pcm, 0, d.pcm.size()), 32767);
        }
}

TEST(MusicFiles, PartsJoinWithoutAClick) {
    // The joins the music player makes: part 1 into part 2 of the same
    // track, and part 2 of any track into part 1 of any track.
    const int kQuiet = 400;  // about 1.2 % of full scale
    for (int t = 0; t < 7; ++t)
        for (int p = 0; p < 2; ++p) {
            const Decoded& d = Parts()[t * 2 + p];
            ASSERT_TRUE(d.ok);
            const size_t n = d.pcm.size();
            // A part rises from silence (its first downbeat fades in over a
            // few milliseconds) and its last 2 ms are near silence, on both
            // channels.
            EXPECT_LT(AbsMax(d.pcm, 0, 2 * 8), kQuiet) << PartName(t, p) << " start";
            EXPECT_LT(AbsMax(d.pcm, n - 2 * 88, n), kQuiet) << PartName(t, p) << " end";
        }
    for (int a = 0; a < 7; ++a)
        for (int b = 0; b < 7; ++b) {
            const Decoded& first = Parts()[a * 2 + 1];
            const Decoded& next = Parts()[b * 2];
            if (a == b) {
                const Decoded& one = Parts()[a * 2];
                for (int c = 0; c < 2; ++c)
                    EXPECT_LT(std::abs(one.pcm[one.pcm.size() - 2 + c] - first.pcm[c]), kQuiet)
                        << PartName(a, 0) << " into " << PartName(a, 1);
            }
            for (int c = 0; c < 2; ++c)
                EXPECT_LT(std::abs(first.pcm[first.pcm.size() - 2 + c] - next.pcm[c]), kQuiet)
                    << PartName(a, 1) << " into " << PartName(b, 0);
        }
}

TEST(MusicFiles, TempoRisesFromTrackToTrack) {
    // Every part is a whole number of four-bar phrases at its track's tempo;
    // the bar count per second therefore rises with the track when the
    // tempo does. Beats are found from the low-frequency energy envelope.
    auto beatsPerMinute = [](const Decoded& d) {
        // Energy per 10 ms of the left channel, then the autocorrelation peak
        // between 300 and 750 ms (80 to 200 beats a minute).
        const size_t hop = 441;
        std::vector<double> e;
        for (size_t i = 0; i + hop <= d.pcm.size() / 2; i += hop) {
            double s = 0;
            for (size_t k = 0; k < hop; ++k) s += std::abs(double(d.pcm[2 * (i + k)]));
            e.push_back(s);
        }
        for (size_t i = e.size() - 1; i > 0; --i) e[i] = std::max(0.0, e[i] - e[i - 1]);
        double best = 0;
        int bestLag = 0;
        for (int lag = 30; lag <= 75; ++lag) {
            double s = 0;
            for (size_t i = 0; i + lag < e.size(); ++i) s += e[i] * e[i + lag];
            if (s > best) best = s, bestLag = lag;
        }
        return 6000.0 / bestLag;
    };
    const double first = beatsPerMinute(Parts()[0]);
    const double last = beatsPerMinute(Parts()[12]);
    EXPECT_GT(last, first * 1.2) << "track 1 at " << first << ", track 7 at " << last << " beats a minute";
}

}  // namespace
