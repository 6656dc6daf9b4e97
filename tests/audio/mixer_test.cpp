// Mixing voices, refused writes, resets, music buffers and conversion.
#include <gtest/gtest.h>

#include <vector>

#include "audio/mixer.h"
#include "audio/sample_convert.h"

namespace mervox::testing {
namespace {

std::vector<int16_t> Constant(size_t frames, int16_t v) { return std::vector<int16_t>(frames * 2, v); }

// A mixer with no device, its voices started by hand as the callback sees them.
void Start(Mixer& m, int voice, const std::vector<int16_t>& s) {
    m.voices[voice] = MixVoice{s.data(), s.size() / 2, 0, true};
}

TEST(MixerTest, DifferentEffectsOverlapAndAdd) {
    Mixer m;
    auto a = Constant(100, 1000), b = Constant(50, 300);
    Start(m, 0, a);
    Start(m, 1, b);
    std::vector<int16_t> out(2 * 80, 0);
    MixInto(m, out.data(), 80);
    EXPECT_EQ(out[0], 1300);
    EXPECT_EQ(out[2 * 49 + 1], 1300);
    EXPECT_EQ(out[2 * 50], 1000) << "the shorter one has ended";
    EXPECT_FALSE(m.voices[1].playing);
    EXPECT_TRUE(m.voices[0].playing);
}

TEST(MixerTest, LoudVoicesClipInsteadOfWrapping) {
    Mixer m;
    auto a = Constant(4, 30000), b = Constant(4, 30000);
    Start(m, 0, a);
    Start(m, 2, b);
    std::vector<int16_t> out(8, 0);
    MixInto(m, out.data(), 4);
    EXPECT_EQ(out[0], 32767);
}

TEST(MixerTest, PlayingVoiceRefusesAWriteAndResetStopsIt) {
    Mixer m;  // no device: writes are accepted but nothing plays
    auto a = Constant(10, 5);
    EXPECT_TRUE(MixerWrite(m, 3, a));
    EXPECT_FALSE(m.voices[3].playing);

    Start(m, 3, a);
    EXPECT_FALSE(MixerWrite(m, 3, a)) << "a sound still playing goes on";
    MixerReset(m, 3);
    EXPECT_FALSE(m.voices[3].playing);
    EXPECT_FALSE(MixerWrite(m, 99, a));
}

TEST(MixerTest, MusicBuffersPlayInTurnAndReportWhenDone) {
    Mixer m;
    auto first = Constant(30, 100), second = Constant(30, 200), empty = std::vector<int16_t>{};
    m.music.push_back(MusicBuffer{first.data(), 30, 0});
    m.music.push_back(MusicBuffer{empty.data(), 0, 7});
    m.music.push_back(MusicBuffer{second.data(), 30, 1});
    std::vector<int16_t> out(2 * 40, 0);
    MixInto(m, out.data(), 40);
    EXPECT_EQ(out[2 * 29], 100);
    EXPECT_EQ(out[2 * 30], 200) << "the next part follows without a gap";
    EXPECT_EQ(m.finishedTags, (std::vector<int>{0, 7})) << "an empty part is done at once";
    MixerForgetMusic(m, 1);
    EXPECT_TRUE(m.music.empty());
}

TEST(SampleConvert, MonoHalfRateBecomesStereoAtFullRate) {
    std::vector<uint8_t> mono;
    for (int16_t v : {0, 1000, 2000, 3000}) {
        mono.push_back(static_cast<uint8_t>(v & 0xff));
        mono.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
    }
    auto out = ConvertToOutput(mono.data(), mono.size(), 16, 1, 22050, 44100);
    ASSERT_EQ(out.size(), 16u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 500) << "halfway between two source samples";
    EXPECT_EQ(out[3], 500);
    EXPECT_EQ(out[4], 1000);

    std::vector<uint8_t> eight = {128, 255, 0};
    auto e = ConvertToOutput(eight.data(), eight.size(), 8, 1, 44100, 44100);
    EXPECT_EQ(e, (std::vector<int16_t>{0, 0, 127 << 8, 127 << 8, -32768, -32768}));

    EXPECT_TRUE(ConvertToOutput(eight.data(), eight.size(), 24, 1, 44100).empty());
    EXPECT_TRUE(ConvertToOutput(eight.data(), eight.size(), 16, 0, 44100).empty());
}

}  // namespace
}  // namespace mervox::testing
