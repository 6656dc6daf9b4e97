#include "title/title_update.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "game/simulation.h"

namespace mervox {
namespace {

// The keyboard, clock, music and voice as the title sees them.
struct FakeWorld {
    std::set<HostKey> held;
    int musicStarts = 0;
    int musicStops = 0;
    int readyVoices = 0;
    int titleFrames = 0;
    int fadeAtTitleFrame = -1;
    unsigned clock = 12345;
};

class FakeHost final : public TitleHost {
public:
    FakeHost(FakeWorld& w, const std::unique_ptr<GameState>& g) : w_(w), g_(g) {}
    unsigned clockMs() const override { return w_.clock; }
    void stopMusic() const override { w_.musicStops++; }
    void playVoice(VoiceClip c) const override {
        if (c == VoiceClip::Ready) w_.readyVoices++;
    }
    void startMusic() const override { w_.musicStarts++; }
    void drawTitleScreen() const override {
        w_.titleFrames++;
        w_.fadeAtTitleFrame = g_->FadeLevel;
    }

private:
    FakeWorld& w_;
    const std::unique_ptr<GameState>& g_;
};

struct TitleFixture : ::testing::Test {
    FakeWorld world;
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    FakeHost host{world, g};
    std::filesystem::path dir;

    // The keys held, as one pass's input.
    InputFrame Keys() const {
        InputFrame in;
        for (HostKey k : world.held) in.held = static_cast<uint16_t>(in.held | HostKeyBit(k));
        return in;
    }

    void SetUp() override {
        char pattern[] = "/tmp/mervox-title-XXXXXX";
        dir = mkdtemp(pattern);
        std::filesystem::create_directories(dir / "data");
        host.baseDir = dir.string();
        // Program start: the start-up scene reset leaves the fade at 80.
        InitProgramState(*g);
        ResetScene(*g);
        PutTitleStartCamera(*g);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void WriteRecording(const char* name, const char* text) {
        std::ofstream(dir / "data" / name, std::ios::binary) << text;
    }
    void Update(int n = 1) {
        for (int k = 0; k < n; ++k) TitleUpdate(*g, host, Keys());
    }
    // Runs title updates until a round starts; returns how many it took.
    int UpdatesUntilRound(int limit = 5000) {
        for (int n = 1; n <= limit; ++n) {
            Update();
            if (g->RunMode != RunTitle) return n;
        }
        return -1;
    }
};

TEST_F(TitleFixture, FirstUpdateResetsTheTitleAndFadesIn) {
    Update();
    EXPECT_EQ(world.musicStops, 1);
    EXPECT_EQ(g->FadeLevel, 78);
    EXPECT_EQ(g->AttractTimer, 1);
    EXPECT_EQ(g->SwingPhase, 0);
    EXPECT_EQ(g->ReplayAvailable, 0);
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) EXPECT_EQ(g->BackgroundGrid[i][j].y, -100.0f);
    // The fade-in takes 40 updates in all.
    Update(38);
    EXPECT_EQ(g->FadeLevel, 2);
    Update();
    EXPECT_EQ(g->FadeLevel, 0);
    Update();
    EXPECT_EQ(g->FadeLevel, 0);
}

TEST_F(TitleFixture, TheResetKeepsTheLevelOfTheLastRound) {
    g->Level = 7;
    Update();
    EXPECT_EQ(g->Level, 7);
    EXPECT_EQ(g->DrawCamera.x, 350.0f);
    EXPECT_EQ(g->ViewCamera.z, g->DrawCamera.z);
}

TEST_F(TitleFixture, ZStartsAGameAfterAFortyUpdateFade) {
    Update(50);
    world.held = {HostKey::Kick, HostKey::FrameRate};
    const int frameSkip = g->FrameSkip;
    Update();
    EXPECT_EQ(g->StartRequested, 1);
    EXPECT_EQ(g->Playback, PlaybackOff);
    EXPECT_EQ(g->KeyLatch, 1);
    EXPECT_EQ(g->FrameSkip, frameSkip);  // Z takes priority over F
    world.held.clear();
    Update();
    EXPECT_EQ(g->FadeLevel, 81);
    EXPECT_EQ(UpdatesUntilRound(), 40);
    EXPECT_EQ(g->RunMode, RunGame);
    EXPECT_EQ(g->FadeLevel, 80);
    EXPECT_EQ(g->StartRequested, 0);
    EXPECT_EQ(world.titleFrames, 1);
    EXPECT_EQ(world.fadeAtTitleFrame, 160);
    EXPECT_EQ(world.musicStarts, 1);
    EXPECT_EQ(world.readyVoices, 1);
}

TEST_F(TitleFixture, AStartDuringTheFadeInCutsItShort) {
    Update(5);
    ASSERT_EQ(g->FadeLevel, 70);
    world.held = {HostKey::Kick};
    Update();
    Update();
    EXPECT_EQ(g->FadeLevel, 81);
}

// The key that started the game, still held, is not the round's first
// input: the round does not run until it is up, and then records nothing
// of it. Nothing waits inside an update: each pass just tests the keys.
TEST_F(TitleFixture, RoundStartWaitsForTheStartingKeysToGoUp) {
    g->BGMMODE = SoundOff;
    g->SEMODE = SoundOff;
    Update(50);
    world.held = {HostKey::Kick, HostKey::FrameRate};
    const int updates = UpdatesUntilRound();
    ASSERT_GT(updates, 0);
    EXPECT_EQ(g->KeysToRelease, HostKeyBit(HostKey::Kick)) << "FrameRate is no round key";
    EXPECT_EQ(world.musicStarts, 0);  // music off
    EXPECT_EQ(world.readyVoices, 0);  // effects off
    const RoundHost quiet;
    for (int pass = 0; pass < 5; ++pass) UpdateRound(*g, quiet, Keys());
    EXPECT_EQ(g->RoundFrame, 0) << "the round ran with the starting key held";
    // A tap of Z in the pass it is let go counts as down too.
    UpdateRound(*g, quiet, InputFrame{0, HostKeyBit(HostKey::Kick)});
    EXPECT_EQ(g->RoundFrame, 0);
    world.held.clear();
    UpdateRound(*g, quiet, Keys());
    EXPECT_EQ(g->RoundFrame, 1);
    EXPECT_EQ(g->KeysToRelease, 0);
    EXPECT_EQ(g->InputLogIndex, 0);
    // From then on a Z pressed again is the round's.
    world.held = {HostKey::Kick};
    UpdateRound(*g, quiet, Keys());
    EXPECT_EQ(g->RoundFrame, 2);
    EXPECT_EQ(g->InputLog[0].keys, KeyKick);
}

TEST_F(TitleFixture, RNeedsASavedReplay) {
    Update(50);
    world.held = {HostKey::Replay};
    Update();
    EXPECT_EQ(g->StartRequested, 0);

    WriteRecording("replay.dat", "00010004\r\n00020000\r\n");
    g->RunMode = RunTitle;
    g->FadeLevel = 80;  // back from a round: the next update resets
    world.held.clear();
    Update();
    EXPECT_EQ(g->ReplayAvailable, 1);
    world.held = {HostKey::Replay};
    Update();
    EXPECT_EQ(g->StartRequested, 1);
    EXPECT_EQ(g->Playback, PlaybackOn);
    world.held.clear();
    ASSERT_GT(UpdatesUntilRound(), 0);
    EXPECT_EQ(g->RunMode, RunGame);
    EXPECT_EQ(g->InputLog[0].frame, 10);
    EXPECT_EQ(g->InputLog[0].keys, 4);
    EXPECT_EQ(g->InputLog[2].frame, 0);
}

TEST_F(TitleFixture, MenuKeysActOncePerPress) {
    Update(50);
    world.held = {HostKey::FrameRate};
    Update(5);
    EXPECT_EQ(g->FrameSkip, 2);
    world.held.clear();
    Update();
    world.held = {HostKey::FrameRate};
    Update();
    EXPECT_EQ(g->FrameSkip, 3);
    // B held while F is released keeps the latch: nothing changes.
    world.held = {HostKey::Music};
    Update();
    EXPECT_EQ(g->BGMMODE, 0);
    world.held.clear();
    Update();
    world.held = {HostKey::Music};
    Update();
    EXPECT_EQ(g->BGMMODE, 1);
    world.held.clear();
    Update();
    world.held = {HostKey::Effects};
    Update();
    EXPECT_EQ(g->SEMODE, 1);
    // The options do not restart the attract timer.
    EXPECT_EQ(g->AttractTimer, 1 + 49 + 12);
}

// The round's arrow latch and the title's menu-key latch are one byte: a
// round that ends with an arrow latched holds F on the title until every
// key is let go, and the title's start of a round clears the latch the
// round's first push waits for.
TEST_F(TitleFixture, TheRoundsArrowLatchIsTheTitlesMenuKeyLatch) {
    g->KeyLatch = 1;  // the round ended in the middle of a push
    world.held = {HostKey::FrameRate};
    Update(3);
    EXPECT_EQ(g->FrameSkip, 1);
    world.held.clear();
    Update();
    world.held = {HostKey::FrameRate};
    Update();
    EXPECT_EQ(g->FrameSkip, 2);
    world.held = {HostKey::Kick};
    Update();
    EXPECT_EQ(g->KeyLatch, 1);
    world.held.clear();
    ASSERT_GT(UpdatesUntilRound(), 0);
    EXPECT_EQ(g->KeyLatch, 0);
}

TEST_F(TitleFixture, FrameRateKeyJoinsTheCycleFromAnySetting) {
    const int next[11] = {0, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3};
    for (int skip = 1; skip <= 10; ++skip) {
        g->FrameSkip = skip;
        g->KeyLatch = 0;
        world.held = {HostKey::FrameRate};
        Update();
        EXPECT_EQ(g->FrameSkip, next[skip]) << "from " << skip;
    }
}

TEST_F(TitleFixture, EscapeWaitsBehindAMenuKey) {
    Update(50);
    world.held = {HostKey::FrameRate, HostKey::Escape};
    Update();
    EXPECT_EQ(g->FrameSkip, 2);
    EXPECT_EQ(g->QuitRequested, 0);
    Update();
    EXPECT_EQ(g->QuitRequested, 1);
}

TEST_F(TitleFixture, AttractCycleWithoutAReplay) {
    // 3599 updates after the reset the timer reaches 3600, then the fade.
    WriteRecording("tuto.dat", "00005001\r\n");
    const int updates = UpdatesUntilRound();
    EXPECT_EQ(updates, 1 + 3599 + 1 + 40);
    EXPECT_EQ(g->RunMode, RunTutorial);
    EXPECT_EQ(g->DemoIndex, 2);
    EXPECT_EQ(g->Playback, PlaybackOn);
    EXPECT_EQ(g->InputLog[0].frame, 5);

    const int expected[5] = {4, 3, 5, 3, 3};
    for (int k = 0; k < 5; ++k) {
        g->RunMode = RunTitle;
        g->FadeLevel = 80;
        ASSERT_GT(UpdatesUntilRound(), 0);
        EXPECT_EQ(g->RunMode, expected[k]) << "step " << k;
    }
}

TEST_F(TitleFixture, AttractCycleWithAReplay) {
    WriteRecording("replay.dat", "00001016\r\n");
    const int expected[7] = {2, 3, 4, 3, 5, 3, 2};
    for (int k = 0; k < 7; ++k) {
        g->RunMode = RunTitle;
        g->FadeLevel = 80;
        ASSERT_GT(UpdatesUntilRound(), 0);
        EXPECT_EQ(g->RunMode, expected[k]) << "step " << k;
    }
}

TEST_F(TitleFixture, AKeyHeldIntoARoundStartIsNotTakenAsATitleKey) {
    WriteRecording("tuto.dat", "00005001\r\n");
    Update(3600);
    ASSERT_EQ(g->AttractTimer, 3600);
    ASSERT_EQ(g->StartRequested, 1);  // the demonstration is chosen
    const int frameSkip = g->FrameSkip;
    for (int n = 0; n < 100 && g->FadeLevel != 159; ++n) Update();
    ASSERT_EQ(g->FadeLevel, 159);
    world.held = {HostKey::Kick, HostKey::FrameRate, HostKey::Escape};
    Update();
    ASSERT_EQ(g->RunMode, RunTutorial);
    EXPECT_EQ(g->Playback, PlaybackOn);
    EXPECT_EQ(g->FrameSkip, frameSkip);
    EXPECT_EQ(g->StartRequested, 0);
    EXPECT_EQ(g->QuitRequested, 0);
}

TEST_F(TitleFixture, CameraSwingsAndTilesSink) {
    Update();
    const float y0 = g->ViewCamera.y;
    const float z0 = g->ViewCamera.z;
    // 800 updates: the camera rises and backs away; no quarter turn yet.
    Update(800);
    EXPECT_NEAR(g->ViewCamera.y - y0, 40.0f, 0.1f);
    EXPECT_NEAR(g->ViewCamera.z - z0, 320.0f, 0.5f);
    EXPECT_NEAR(g->CameraPitch, 54.0f, 0.05f);
    EXPECT_NEAR(g->BackgroundGrid[0][1].y, -180.0f, 0.1f);
    EXPECT_NEAR(g->BackgroundGrid[6][5].y, -180.0f, 0.1f);
    EXPECT_EQ(g->BackgroundGrid[1][1].y, -100.0f);
    EXPECT_NEAR(std::fabs(g->ViewAngle), 40.0f, 0.05f);
    EXPECT_EQ(g->DrawCamera.y, g->ViewCamera.y);
    EXPECT_FLOAT_EQ(g->CameraPitchRad, g->CameraPitch * DegToRad);
    EXPECT_FLOAT_EQ(g->ViewAngleRad, g->ViewAngle * DegToRad);
    // The pitch reaches 60 after about 1000 updates, passing a quarter turn
    // on the way that keeps the angle within 45 degrees either side.
    int n = 800;
    while (g->SwingPhase == 0 && n < 2000) {
        Update();
        ++n;
    }
    EXPECT_NEAR(n, 1000, 3);
    EXPECT_GE(g->CameraPitch, 60.0f);
    EXPECT_LE(std::fabs(g->ViewAngle), 45.0f);
    // Then the camera comes back down and the tiles keep sinking until the
    // second phase change.
    while (g->SwingPhase == 1 && n < 4000) {
        Update();
        ++n;
    }
    EXPECT_EQ(g->SwingPhase, 2);
    EXPECT_NEAR(g->CameraPitch, 30.0f, 0.05f);
    // The update that changed the phase already raised the tiles once.
    EXPECT_NEAR(g->BackgroundGrid[0][1].y, -299.9f, 0.01f);
    Update(10);
    EXPECT_NEAR(g->BackgroundGrid[0][1].y, -298.9f, 0.01f);
}

TEST(AttractCycle, IndicesAndFallback) {
    EXPECT_EQ(ChooseAttractRound(0, true).runMode, 2);
    EXPECT_EQ(ChooseAttractRound(0, true).nextIndex, 1);
    EXPECT_EQ(ChooseAttractRound(0, false).runMode, 3);
    EXPECT_EQ(ChooseAttractRound(0, false).nextIndex, 2);
    EXPECT_EQ(ChooseAttractRound(2, false).runMode, 4);
    EXPECT_EQ(ChooseAttractRound(4, true).runMode, 5);
    EXPECT_EQ(ChooseAttractRound(5, true).nextIndex, 0);
}

}  // namespace
}  // namespace mervox

namespace mervox {
namespace {

// Z held through a round's end (it skips the end screen of a playback)
// must not start a game on the title: the title stands still, not even
// counting towards a demonstration, until Z is up; R likewise; other keys
// do not hold it.
TEST_F(TitleFixture, KeysHeldThroughARoundsEndDoNotActOnTheTitle) {
    StartRoundOutsideTitle(*g, RunDemo1, PlaybackOn);
    g->InputLog[0] = InputRecord{0, 0};
    const RoundHost quiet;
    world.held = {HostKey::Kick, HostKey::Jump};
    for (int n = 0; n < 20000 && g->RunMode != RunTitle; ++n) UpdateRound(*g, quiet, Keys());
    ASSERT_EQ(g->RunMode, RunTitle);
    EXPECT_EQ(g->KeysToRelease, HostKeyBit(HostKey::Kick));
    const int fade = g->FadeLevel;
    Update(30);
    EXPECT_EQ(g->FadeLevel, fade) << "the title ran with Z held";
    EXPECT_EQ(g->StartRequested, 0);
    EXPECT_EQ(world.musicStops, 0);
    world.held = {HostKey::Jump};
    Update();
    EXPECT_EQ(g->KeysToRelease, 0);
    EXPECT_EQ(world.musicStops, 1) << "the title reset on the first update with Z up";
    EXPECT_EQ(g->StartRequested, 0);
}

}  // namespace
}  // namespace mervox
