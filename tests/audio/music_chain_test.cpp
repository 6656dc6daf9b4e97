// The music's track chain, driven by a fake output and a fake decoder.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "game/state/game_state.h"

namespace mervox::testing {
namespace {

struct FakeOutput {
    bool openWorks = true;
    std::vector<int> written;
    std::vector<std::vector<int16_t>> writtenPcm;
    int resets = 0;
    std::vector<int> unprepared;
};

// Files decoded so far; written on the loader thread.
std::mutex g_decodedLock;
std::vector<std::string> g_decoded;
std::atomic<bool> g_slowDecode{false};

std::vector<std::string> Decoded() {
    std::lock_guard<std::mutex> lock(g_decodedLock);
    return g_decoded;
}

bool FakeDecode(void*, const std::string& path, std::vector<int16_t>& pcm) {
    if (g_slowDecode) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    {
        std::lock_guard<std::mutex> lock(g_decodedLock);
        g_decoded.push_back(path.substr(path.rfind('/') + 1));
    }
    pcm.assign(8, 1);
    return true;
}

// Checks the condition every millisecond until it holds or a minute has
// gone by (the loader thread on a busy machine, under ThreadSanitizer, is
// slow, not wrong); whether it held.
template <class Condition>
bool WaitUntil(Condition holds) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!holds()) {
        if (std::chrono::steady_clock::now() > giveUp) return holds();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class MusicChainTest : public ::testing::Test {
protected:
    FakeOutput out;
    MusicPlayer player;
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    GameState& g = *state;

    void SetUp() override {
        {
            std::lock_guard<std::mutex> lock(g_decodedLock);
            g_decoded.clear();
        }
        g_slowDecode = false;
        InitProgramState(g);
        g.RunMode = RunGame;
        g.Level = 1;
        player.baseDir = "/game";
        player.decode = FakeDecode;
        player.output.ctx = &out;
        player.output.open = [](void* c) { return static_cast<FakeOutput*>(c)->openWorks; };
        player.output.write = [](void* c, int s, const std::vector<int16_t>& pcm) {
            static_cast<FakeOutput*>(c)->written.push_back(s);
            static_cast<FakeOutput*>(c)->writtenPcm.push_back(pcm);
        };
        player.output.reset = [](void* c) { static_cast<FakeOutput*>(c)->resets++; };
        player.output.unprepare = [](void* c, int s) { static_cast<FakeOutput*>(c)->unprepared.push_back(s); };
    }
    void TearDown() override { StopMusic(player); }

    // The part that is playing finishes: the output reports it.
    void Finish(int segment) { OnMusicBufferDone(player, g, segment); }
    bool Present(int segment) const { return player.table[segment].load(); }

    // Music parts last half a minute: the background decode has long ended
    // by the time a part finishes.
    void StartAndSettle() {
        StartMusic(player);
        ASSERT_TRUE(WaitUntil([this] { return player.loaderDone.load(); }))
            << "the loader thread did not finish within a minute";
    }
};

TEST_F(MusicChainTest, OneTrackRepeatsWhileTheLevelStaysLow) {
    StartMusic(player);
    EXPECT_EQ(out.written, (std::vector<int>{0, 1}));
    EXPECT_EQ(Decoded().front(), "bgm1-1.ogg");
    Finish(0);
    Finish(1);
    Finish(0);
    Finish(1);
    EXPECT_EQ(out.written, (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

TEST_F(MusicChainTest, LevelFiveDuringTheFirstPartMovesOnAtTheTracksEnd) {
    ASSERT_NO_FATAL_FAILURE(StartAndSettle());
    g.Level = 5;
    PreloadMusic(player, g);
    Finish(0);  // bgm1-1 ends: track 1 chosen
    Finish(1);  // bgm1-2 ends: track 1's second part follows
    EXPECT_EQ(out.written, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(Present(0)) << "track 0 stays until track 1 has played through";
    Finish(2);
    Finish(3);
    EXPECT_FALSE(Present(0));
    EXPECT_FALSE(Present(1));
    EXPECT_EQ(out.unprepared, (std::vector<int>{0, 1}));
    EXPECT_EQ(out.written, (std::vector<int>{0, 1, 2, 3, 2, 3}));
}

TEST_F(MusicChainTest, LevelFiveDuringTheSecondPartPlaysTrackZeroOnceMore) {
    ASSERT_NO_FATAL_FAILURE(StartAndSettle());
    Finish(0);
    g.Level = 5;
    Finish(1);
    Finish(0);
    Finish(1);
    EXPECT_EQ(out.written, (std::vector<int>{0, 1, 0, 1, 2, 3}));
}

TEST_F(MusicChainTest, AbsentTargetTrackFallsBackToTheHighestPresent) {
    ASSERT_NO_FATAL_FAILURE(StartAndSettle());
    g.Level = 12;  // wants track 2, only 0 and 1 are there
    Finish(0);
    EXPECT_EQ(out.written.back(), 2);
    EXPECT_EQ(player.CurrentTrackSegment, 2);
}

TEST_F(MusicChainTest, LevelJumpPreloadsTheTargetAndWaitsForIt) {
    g_slowDecode = true;
    StartMusic(player);
    g.Level = 9;
    PreloadMusic(player, g);  // track 1 already loading or loaded: nothing new
    g.Level = 15;
    ASSERT_TRUE(WaitUntil([this] {
        PreloadMusic(player, g);
        return Present(6);
    })) << "bgm4 was never taken up for decoding";
    Finish(0);
    EXPECT_EQ(out.written.back(), 6) << "chosen once its decoding finished";
    EXPECT_EQ(player.NextPairToLoad, 8);
}

TEST_F(MusicChainTest, LevelThirtyPlaysTheLastTrackAndPreloadsNothingBeyond) {
    StartMusic(player);
    g.Level = 30;
    ASSERT_TRUE(WaitUntil([this] {
        PreloadMusic(player, g);
        return Present(12);
    })) << "bgm7 was never taken up for decoding";
    Finish(0);
    EXPECT_EQ(out.written.back(), 12);
    StopMusic(player);
    const size_t decodedBefore = Decoded().size();
    ASSERT_NO_FATAL_FAILURE(StartAndSettle());
    g.Level = 40;
    PreloadMusic(player, g);
    StopMusic(player);
    EXPECT_EQ(Decoded().size(), decodedBefore + 4) << "only the two tracks of the new start";
}

TEST_F(MusicChainTest, NothingHappensWithoutTheOutputOrAfterStopping) {
    out.openWorks = false;
    StartMusic(player);
    EXPECT_TRUE(out.written.empty());
    PreloadMusic(player, g);
    StopMusic(player);
    EXPECT_TRUE(Decoded().empty()) << "no output, no decoding";

    out.openWorks = true;
    StartMusic(player);
    StopMusic(player);
    const size_t written = out.written.size();
    Finish(0);
    Finish(1);
    EXPECT_EQ(out.written.size(), written) << "a late report changes nothing";
    EXPECT_EQ(out.resets, 1);

    StartMusic(player);
    g.QuitRequested = 1;
    Finish(0);
    EXPECT_EQ(out.written.size(), written + 2);
}

TEST_F(MusicChainTest, RoundWithMusicOffAfterOneWithMusicDecodesAndQueuesNothing) {
    ASSERT_NO_FATAL_FAILURE(StartAndSettle());
    Finish(0);
    StopMusic(player);
    const size_t decoded = Decoded().size(), written = out.written.size();

    // The next round has music off: the title never starts it, the round
    // preloads every update and stops it at the end.
    g.BGMMODE = SoundOff;
    for (g.Level = 1; g.Level <= 35; ++g.Level) PreloadMusic(player, g);
    Finish(0);
    Finish(1);
    StopMusic(player);
    EXPECT_EQ(Decoded().size(), decoded);
    EXPECT_EQ(out.written.size(), written);
    EXPECT_EQ(out.resets, 1) << "a closed output is not reset again";
    for (int s = 0; s < kMusicSegments; ++s) EXPECT_FALSE(Present(s)) << "segment " << s;
}

// One second of a 441 Hz tone in stereo, as the decoder hands it over.
bool ToneDecode(void*, const std::string&, std::vector<int16_t>& pcm) {
    pcm.resize(2 * 44100);
    for (int f = 0; f < 44100; ++f)
        pcm[2 * f] = pcm[2 * f + 1] = static_cast<int16_t>(10000 * std::sin(2 * M_PI * 441 * f / 44100.0));
    return true;
}

int RisingZeroCrossings(const std::vector<int16_t>& pcm) {
    int n = 0;
    for (size_t k = 2; k < pcm.size(); k += 2) n += pcm[k - 2] < 0 && pcm[k] >= 0;
    return n;
}

TEST_F(MusicChainTest, MusicFollowsTheRateTheDeviceGranted) {
    player.decode = ToneDecode;
    for (int rate : {44100, 48000}) {
        out.written.clear();
        out.writtenPcm.clear();
        player.outputRate = rate;
        StartMusic(player);
        ASSERT_FALSE(out.writtenPcm.empty());
        const std::vector<int16_t>& first = out.writtenPcm[0];
        // Still one second long and still 441 Hz at the device's rate.
        EXPECT_EQ(first.size(), static_cast<size_t>(2 * rate)) << rate;
        EXPECT_NEAR(RisingZeroCrossings(first), 441, 1) << rate;
        StopMusic(player);
    }
}

TEST(MusicFiles, SegmentNamesFollowTheTracks) {
    EXPECT_EQ(MusicSegmentFile(0), "snd/bgm1-1.ogg");
    EXPECT_EQ(MusicSegmentFile(13), "snd/bgm7-2.ogg");
}

}  // namespace
}  // namespace mervox::testing
