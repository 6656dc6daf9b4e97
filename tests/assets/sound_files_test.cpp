// The generated effects and voice clips: every file has the one layout the
// game's WAV reader accepts (a canonical PCM header with "data" at offset
// 36) in 44100 Hz, 16-bit stereo; none starts or ends with a jump; their
// levels are close to one another, the score counter being the quiet one;
// and the five vanish sounds climb in pitch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/assets/game_files.h"

namespace {

const char* const kEffects[13] = {"push", "kick", "jump", "extend", "tick", "adm", "prep",
                                  "cnt",  "van1", "van2", "van3", "van4", "van5"};

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct Wave {
    std::vector<uint8_t> bytes;
    std::vector<int16_t> left, right;
};

// Reads the file and checks the header field by field; samples are taken
// from offset 44 on.
bool ReadWave(const std::string& name, Wave& w) {
    SCOPED_TRACE(name);
    const std::string path = mervox_test::GameFile("snd/" + name + ".wav");
    FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr) << path << " is missing (build the assets target)";
    if (!f) return false;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) w.bytes.insert(w.bytes.end(), buf, buf + n);
    std::fclose(f);
    const std::vector<uint8_t>& b = w.bytes;
    EXPECT_GE(b.size(), 48u);
    if (b.size() < 48) return false;
    EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
    EXPECT_EQ(Le32(&b[4]), b.size() - 8);
    EXPECT_EQ(std::memcmp(&b[8], "WAVE", 4), 0);
    EXPECT_EQ(std::memcmp(&b[12], "fmt ", 4), 0);
    EXPECT_EQ(Le32(&b[16]), 16u);
    EXPECT_EQ(Le16(&b[20]), 1) << "format tag must be PCM";
    EXPECT_EQ(Le16(&b[22]), 2) << "channels";
    EXPECT_EQ(Le32(&b[24]), 44100u) << "samples per second";
    EXPECT_EQ(Le32(&b[28]), 44100u * 4) << "average bytes per second";
    EXPECT_EQ(Le16(&b[32]), 4) << "block alignment";
    EXPECT_EQ(Le16(&b[34]), 16) << "bits per sample";
    EXPECT_EQ(std::memcmp(&b[36], "data", 4), 0) << "the data chunk must stand at offset 36";
    const uint32_t size = Le32(&b[40]);
    EXPECT_EQ(size, b.size() - 44);
    EXPECT_EQ(size % 4, 0u);
    if (::testing::Test::HasFailure()) return false;
    for (size_t i = 44; i + 3 < b.size(); i += 4) {
        w.left.push_back(static_cast<int16_t>(Le16(&b[i])));
        w.right.push_back(static_cast<int16_t>(Le16(&b[i + 2])));
    }
    return true;
}

double Seconds(const Wave& w) { return w.left.size() / 44100.0; }

// Root mean square of the loudest 50 ms, in dB below full scale.
double LoudestDb(const Wave& w) {
    const size_t window = 2205;
    double best = 0;
    double sum = 0;
    for (size_t i = 0; i < w.left.size(); ++i) {
        sum += double(w.left[i]) * w.left[i];
        if (i >= window) sum -= double(w.left[i - window]) * w.left[i - window];
        best = std::max(best, sum / std::min(window, i + 1));
    }
    return 20 * std::log10(std::sqrt(best) / 32768.0 + 1e-12);
}

// The strongest frequency between lo and hi Hz over `count` samples from
// `start`, scanned in 2 Hz steps.
double StrongestHz(const std::vector<int16_t>& s, size_t start, size_t count, double lo, double hi) {
    double bestHz = 0, bestPower = -1;
    for (double hz = lo; hz <= hi; hz += 2) {
        const double w = 2 * M_PI * hz / 44100.0;
        double re = 0, im = 0;
        for (size_t i = 0; i < count && start + i < s.size(); ++i) {
            const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / count);
            re += s[start + i] * hann * std::cos(w * i);
            im += s[start + i] * hann * std::sin(w * i);
        }
        if (re * re + im * im > bestPower) bestPower = re * re + im * im, bestHz = hz;
    }
    return bestHz;
}

TEST(SoundFiles, EffectsAndVoicesHaveTheAcceptedLayoutAndFormat) {
    for (const char* name : kEffects) {
        Wave w;
        ASSERT_TRUE(ReadWave(name, w)) << name;
    }
    for (const char* name : {"ready", "go"}) {
        Wave w;
        ASSERT_TRUE(ReadWave(name, w)) << name;
        EXPECT_GT(Seconds(w), 0.2) << name;
        EXPECT_LT(Seconds(w), 2.0) << name;
    }
}

TEST(SoundFiles, NoClipStartsOrEndsWithAJumpOrClips) {
    std::vector<std::string> names(std::begin(kEffects), std::end(kEffects));
    names.push_back("ready");
    names.push_back("go");
    for (const std::string& name : names) {
        Wave w;
        ASSERT_TRUE(ReadWave(name, w));
        ASSERT_GT(w.left.size(), 100u) << name;
        // Faded edges: silent at both ends and no large step in the first
        // and last few samples.
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_LT(std::abs(w.left[i]), 300) << name << " start";
            EXPECT_LT(std::abs(w.left[w.left.size() - 1 - i]), 300) << name << " end";
        }
        int peak = 0;
        for (size_t i = 0; i < w.left.size(); ++i) peak = std::max(peak, std::abs(int(w.left[i])));
        EXPECT_LT(peak, 32700) << name << " clips";
        EXPECT_GT(peak, 1000) << name << " is nearly silent";
    }
}

TEST(SoundFiles, LevelsAreEvenAndTheScoreCounterIsShortAndSoft) {
    double loudest = -200, quietest = 0;
    std::string loudName, quietName;
    Wave cnt;
    ASSERT_TRUE(ReadWave("cnt", cnt));
    const double cntDb = LoudestDb(cnt);
    for (const char* name : kEffects) {
        if (std::string(name) == "cnt") continue;
        Wave w;
        ASSERT_TRUE(ReadWave(name, w));
        EXPECT_LT(Seconds(w), 1.5) << name;
        const double db = LoudestDb(w);
        if (db > loudest) loudest = db, loudName = name;
        if (db < quietest) quietest = db, quietName = name;
        EXPECT_GT(db, cntDb + 6) << name << " should be well above the score counter";
    }
    EXPECT_LT(loudest - quietest, 6.0) << loudName << " vs " << quietName;
    // It plays almost every other update (two updates are 33 ms).
    EXPECT_LT(Seconds(cnt), 0.034);
}

TEST(SoundFiles, VanishSoundsClimb) {
    double previous = 0;
    for (int k = 1; k <= 5; ++k) {
        Wave w;
        ASSERT_TRUE(ReadWave("van" + std::to_string(k), w));
        // Past the first sparkle, over 93 ms.
        const double hz = StrongestHz(w.left, 2205, 4096, 300, 2500);
        EXPECT_GT(hz, previous * 1.03) << "van" << k;
        previous = hz;
    }
}

}  // namespace
