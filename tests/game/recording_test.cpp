// Recordings: the file format, its bad lines, and a keyboard round that
// plays back exactly as it was played.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/playback_round.h"
#include "app/round_trace.h"
#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox::testing {
namespace {

std::unique_ptr<InputRecord[]> NewLog() { return std::make_unique<InputRecord[]>(kInputLogLength); }

TEST(RecordingFormat, ParsesRecordsAndZeroesTheRest) {
    auto log = NewLog();
    for (int k = 0; k < kInputLogLength; ++k) log[k] = InputRecord{k + 1, 7};
    EXPECT_EQ(ParseInputLog("00123018\r\n00200000\n  00300004", log.get()), 3);
    EXPECT_EQ(log[0].frame, 123);
    EXPECT_EQ(log[0].keys, 18);
    EXPECT_EQ(log[1].frame, 200);
    EXPECT_EQ(log[1].keys, 0);
    EXPECT_EQ(log[2].keys, 4);
    EXPECT_EQ(log[3].frame, 0);
    EXPECT_EQ(log[kInputLogLength - 1].frame, 0);
    EXPECT_EQ(ParseInputLog("", log.get()), 0);
    EXPECT_EQ(log[0].frame, 0);
}

TEST(RecordingFormat, ABadLineEndsTheLoadKeepingWhatCameBefore) {
    auto log = NewLog();
    const char* bad[] = {"00001001\n0000x001\n00003001\n", "00001001\n00002999\n00003001\n",
                         "00001001\n-0002001\n00003001\n", "00001001\n0000201\n00003001\n",
                         "00001001\n000020010\n00003001\n"};
    for (const char* text : bad) {
        EXPECT_EQ(ParseInputLog(text, log.get()), 1) << text;
        EXPECT_EQ(log[0].frame, 1);
        EXPECT_EQ(log[1].frame, 0) << "no garbage after the bad record";
        EXPECT_EQ(log[1].keys, 0);
    }
}

TEST(RecordingFormat, AtMost6000RecordsAreRead) {
    std::string text;
    char line[16];
    for (int k = 1; k <= 6005; ++k) {
        std::snprintf(line, sizeof line, "%05d%03d\n", k, k % 256);
        text += line;
    }
    auto log = NewLog();
    EXPECT_EQ(ParseInputLog(text, log.get()), kInputLogLength);
    EXPECT_EQ(log[kInputLogLength - 1].frame, 6000);
}

TEST(RecordingFormat, FormatWritesUpToTheFirstEmptyRecordWithCrLf) {
    auto log = NewLog();
    for (int k = 0; k < kInputLogLength; ++k) log[k] = InputRecord{0, 0};
    EXPECT_EQ(FormatInputLog(log.get()), "");
    log[0] = InputRecord{123, 18};
    log[1] = InputRecord{99999, 255};
    log[3] = InputRecord{500, 1};
    EXPECT_EQ(FormatInputLog(log.get()), "00123018\r\n99999255\r\n");
    log[1] = InputRecord{100000, 3};
    EXPECT_EQ(FormatInputLog(log.get()), "00123018\r\n") << "a frame past five digits ends the file";
}

TEST(RecordingFormat, MissingFileLeavesTheLogAlone) {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    g->InputLog[0] = InputRecord{5, 1};
    g->RunMode = 4;
    EXPECT_FALSE(LoadInputLog(*g, "/nonexistent-folder"));
    EXPECT_EQ(g->InputLog[0].frame, 5);
    EXPECT_STREQ(InputLogFileName(3), "data/tuto.dat");
    EXPECT_STREQ(InputLogFileName(5), "data/demo2.dat");
    EXPECT_STREQ(InputLogFileName(1), "data/replay.dat");
}

// A keyboard player who changes keys on a fixed pseudo-random schedule.
struct ScriptedPlayer {
    uint32_t seed = 12345;
    int keys = 0;
    int nextChange = 200;
    std::vector<int> effects;

    void Advance(int frame) {
        if (frame < nextChange) return;
        seed = seed * 1103515245u + 12345u;
        static constexpr int kChoices[] = {0, KeyLeft, KeyRight, KeyUp, KeyDown, KeyKick,
                                           KeyJump, KeyTurnQ, KeyLeft | KeyUp, KeyRight | KeyKick,
                                           KeyDown, KeyLeft, 0, KeyTurnE, KeyRight};
        keys = kChoices[(seed >> 16) % (sizeof kChoices / sizeof kChoices[0])];
        nextChange = frame + 3 + static_cast<int>((seed >> 8) % 40);
    }
};

bool ScriptKey(void* ctx, HostKey key) {
    const int keys = static_cast<ScriptedPlayer*>(ctx)->keys;
    switch (key) {
        case HostKey::Left: return keys & KeyLeft;
        case HostKey::Up: return keys & KeyUp;
        case HostKey::Right: return keys & KeyRight;
        case HostKey::Down: return keys & KeyDown;
        case HostKey::Z: return keys & KeyKick;
        case HostKey::X: return keys & KeyJump;
        case HostKey::Q: return keys & KeyTurnQ;
        case HostKey::E: return keys & KeyTurnE;
        default: return false;
    }
}

TEST(RecordingRoundTrip, AKeyboardRoundPlaysBackUpdateForUpdate) {
    const auto dir = std::filesystem::temp_directory_path() / "mervox-roundtrip";
    std::filesystem::create_directories(dir / "data");

    // Played from the keyboard: recorded as the round runs.
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    ResetScene(*g);
    g->BGMMODE = 1;
    g->Playback = 0;
    g->RunMode = 1;
    ResetScene(*g);
    g->ArrowLatch = 0;
    ScriptedPlayer player;
    RoundHost host;
    host.ctx = &player;
    host.keyDown = ScriptKey;
    host.writeEffect = [](void* ctx, int k, bool) {
        static_cast<ScriptedPlayer*>(ctx)->effects.push_back(k);
    };
    std::vector<std::string> played;
    while (g->RunMode != 0) {
        player.Advance(g->RoundFrame + 1);
        player.effects.clear();
        UpdateRound(*g, host);
        std::string line;
        AppendTraceLine(*g, player.effects, line);
        played.push_back(line);
    }
    ASSERT_GT(g->InputLogIndex, 50) << "the script changed keys many times";
    ASSERT_TRUE(SaveReplay(*g, dir.string()));

    // Played back headless from the saved file.
    auto h = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*h, 1, (dir / "data/replay.dat").string()));
    std::vector<int> effects;
    RoundHost quiet;
    quiet.ctx = &effects;
    quiet.writeEffect = [](void* ctx, int k, bool) { static_cast<std::vector<int>*>(ctx)->push_back(k); };
    size_t n = 0;
    while (h->RunMode != 0 && n < played.size()) {
        effects.clear();
        UpdateRound(*h, quiet);
        std::string line;
        AppendTraceLine(*h, effects, line);
        ASSERT_EQ(line, played[n]) << "update " << n + 1;
        ++n;
    }
    EXPECT_EQ(n, played.size());
    EXPECT_EQ(h->RunMode, 0);
    std::filesystem::remove_all(dir);
}

TEST(RecordingRoundTrip, RecordingStopsAt6000Changes) {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    g->Playback = 0;
    g->RunMode = 1;
    ResetScene(*g);
    int toggle = 0;
    RoundHost host;
    host.ctx = &toggle;
    host.keyDown = [](void* ctx, HostKey key) {
        return key == HostKey::X && (*static_cast<int*>(ctx) & 1);
    };
    for (int k = 0; k < 6100; ++k) {
        ++toggle;
        UpdateRound(*g, host);
    }
    EXPECT_EQ(g->InputLogIndex, kInputLogLength);
    EXPECT_EQ(g->InputLog[kInputLogLength - 1].frame, 6000);
}

}  // namespace
}  // namespace mervox::testing
