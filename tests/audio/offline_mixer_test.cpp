// The mixer with no device (a video export): writes are heard through
// MixInto, music queues and reports its finished buffers to the owner,
// and closing it makes it silent again.
#include <gtest/gtest.h>

#include <vector>

#include "audio/mixer.h"

namespace mervox::testing {
namespace {

std::vector<int16_t> Constant(size_t frames, int16_t v) { return std::vector<int16_t>(frames * 2, v); }

TEST(OfflineMixerTest, WritesAreHeardAndRefusedAsOnADevice) {
    Mixer m;
    MixerOpenOffline(m, 44100);
    EXPECT_TRUE(MixerLive(m));
    EXPECT_EQ(m.device, 0u) << "no device is opened";
    auto effect = Constant(40, 700);
    ASSERT_TRUE(MixerWrite(m, 2, effect));
    EXPECT_FALSE(MixerWrite(m, 2, effect)) << "the voice still plays";
    std::vector<int16_t> out(2 * 30, 0);
    MixInto(m, out.data(), 30);
    EXPECT_EQ(out[0], 700);
    EXPECT_EQ(out[59], 700);
    std::fill(out.begin(), out.end(), int16_t{0});
    MixInto(m, out.data(), 30);
    EXPECT_EQ(out[2 * 9 + 1], 700);
    EXPECT_EQ(out[2 * 10], 0) << "the effect ended after its 40 frames";
    EXPECT_TRUE(MixerWrite(m, 2, effect)) << "an ended voice takes a new sound";
}

TEST(OfflineMixerTest, MusicQueuesAndItsEndsAreLeftForTheOwner) {
    Mixer m;
    MixerOpenOffline(m, 44100);
    auto first = Constant(10, 100), second = Constant(10, 200);
    MixerQueueMusic(m, first, 4);
    MixerQueueMusic(m, second, 5);
    ASSERT_EQ(m.music.size(), 2u) << "offline, queued music is kept";
    std::vector<int16_t> out(2 * 15, 0);
    MixInto(m, out.data(), 15);
    EXPECT_EQ(out[2 * 9], 100);
    EXPECT_EQ(out[2 * 10], 200) << "the second buffer follows without a gap";
    EXPECT_EQ(m.finishedTags, std::vector<int>{4});
}

TEST(OfflineMixerTest, ClosedItIsSilentAgain) {
    Mixer m;
    MixerOpenOffline(m, 48000);
    EXPECT_EQ(m.rate, 48000);
    MixerClose(m);
    EXPECT_FALSE(MixerLive(m));
    auto effect = Constant(10, 700);
    EXPECT_TRUE(MixerWrite(m, 0, effect));
    EXPECT_FALSE(m.voices[0].playing) << "without a device or offline mixing nothing plays";
    MixerQueueMusic(m, effect, 1);
    EXPECT_TRUE(m.music.empty());
}

}  // namespace
}  // namespace mervox::testing
