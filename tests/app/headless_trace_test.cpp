// The headless runner's trace: one JSON object per update with the agreed
// keys in the agreed order.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "app/common/command_line.h"
#include "app/common/playback_round.h"
#include "app/headless/headless_runner.h"
#include "app/headless/round_trace.h"
#include "game/simulation.h"

namespace mervox::testing {
namespace {

std::vector<std::string> TopLevelKeys(const std::string& line) {
    std::vector<std::string> keys;
    int depth = 0;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '[' || c == '{') ++depth;
        if (c == ']' || c == '}') --depth;
        if (c == '"' && depth == 1) {
            const size_t end = line.find('"', k + 1);
            keys.push_back(line.substr(k + 1, end - k - 1));
            k = end;
        }
    }
    return keys;
}

size_t CountNumbers(const std::string& text) {
    static const std::regex number("-?[0-9][0-9.e+-]*");
    return static_cast<size_t>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), number), std::sregex_iterator()));
}

TEST(HeadlessTrace, EachLineHoldsTheAgreedFieldsInOrder) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, RunGame, "/nonexistent.dat");
    const RoundHost host;
    UpdateRound(*g, host, InputFrame{});
    std::string line;
    AppendTraceLine(*g, {5, 7}, line);
    ASSERT_EQ(line.back(), '\n');
    const std::vector<std::string> expected = {
        "f", "t", "rc", "pf", "sc", "ss", "st", "lv", "q", "cc", "cap", "si", "sd", "it", "bc",
        "bcl", "luf", "eh", "fade", "ci", "k", "li", "rng", "p", "pi", "pu", "al", "va", "ts",
        "cam", "rq", "ch", "fx", "b"};
    EXPECT_EQ(TopLevelKeys(line), expected);

    const size_t b = line.find("\"b\":");
    EXPECT_EQ(CountNumbers(line.substr(b)), 98u * 17u);
    const size_t ch = line.find("\"ch\":");
    const size_t fx = line.find("\"fx\":");
    EXPECT_EQ(CountNumbers(line.substr(ch, fx - ch)), 80u);
    EXPECT_NE(line.find("\"fx\":[5,7]"), std::string::npos);
    EXPECT_NE(line.find("\"p\":[348,0,48,0]"), std::string::npos);
    EXPECT_NE(line.find("\"rng\":5,"), std::string::npos);
}

TEST(HeadlessTrace, FloatsReadBackExactly) {
    auto g = std::make_unique<GameState>();
    StartPlaybackRound(*g, RunGame, "/nonexistent.dat");
    g->CameraPitch = 0.1f + 0.2f;
    g->PlayerVelY = -0.6f * 7.0f;
    std::string line;
    AppendTraceLine(*g, {}, line);
    const size_t cam = line.find("\"cam\":[");
    const std::string camText = line.substr(cam + 7, line.find(']', cam) - cam - 7);
    const float pitch = std::stof(camText.substr(camText.rfind(',') + 1));
    EXPECT_EQ(pitch, g->CameraPitch);
}

TEST(HeadlessTrace, RunnerWritesATraceLinePerUpdate) {
    const auto dir = std::filesystem::temp_directory_path() / "mervox-headless";
    std::filesystem::create_directories(dir);
    {
        std::ofstream rec(dir / "rec.dat", std::ios::binary);
        rec << "00200004\r\n00230000\r\n";
    }
    CommandLine cmd;
    cmd.headless = true;
    cmd.replayPath = (dir / "rec.dat").string();
    cmd.tracePath = (dir / "trace.jsonl").string();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(RunHeadless(cmd), 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "score=0 level=1 frames=4201 cleared=0\n");
    std::ifstream trace(cmd.tracePath);
    std::string line;
    int lines = 0;
    while (std::getline(trace, line)) {
        ++lines;
        if (lines == 230) {
            EXPECT_NE(line.find("\"k\":0,\"li\":2,"), std::string::npos);
        }
        if (lines == 229) {
            EXPECT_NE(line.find("\"k\":4,\"li\":1,"), std::string::npos);
        }
    }
    EXPECT_EQ(lines, 4201);

    cmd.replayPath = (dir / "missing.dat").string();
    ::testing::internal::CaptureStderr();
    EXPECT_NE(RunHeadless(cmd), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot open"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(CommandLineTest, ReadsTheHeadlessOptions) {
    const char* argv[] = {"mervox", "--headless", "--replay", "a.dat", "--mode", "3",
                          "--screenshot", "10,20,30", "--out", "shots"};
    CommandLine c = ParseCommandLine(10, const_cast<char**>(argv));
    EXPECT_TRUE(c.error.empty()) << c.error;
    EXPECT_EQ(c.mode, 3);
    EXPECT_EQ(c.screenshotFrames, (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(c.outDir, "shots");

    const char* bad[] = {"mervox", "--headless", "--replay", "a.dat", "--mode", "9"};
    EXPECT_FALSE(ParseCommandLine(6, const_cast<char**>(bad)).error.empty());
    const char* noFile[] = {"mervox", "--headless"};
    EXPECT_FALSE(ParseCommandLine(2, const_cast<char**>(noFile)).error.empty());
    const char* badList[] = {"mervox", "--screenshot", "1,,2"};
    EXPECT_FALSE(ParseCommandLine(3, const_cast<char**>(badList)).error.empty());

    const char* soak[] = {"mervox", "--soak", "30", "--seed", "7"};
    c = ParseCommandLine(5, const_cast<char**>(soak));
    EXPECT_TRUE(c.error.empty()) << c.error;
    EXPECT_EQ(c.soakRounds, 30);
    EXPECT_EQ(c.seed, 7);
    const char* noSoak[] = {"mervox", "--soak", "0"};
    EXPECT_FALSE(ParseCommandLine(3, const_cast<char**>(noSoak)).error.empty());

    // Without --mode the tutorial and its practice rounds play as the
    // tutorial, anything else as a game; --mode always wins.
    const struct {
        const char* path;
        int mode;
    } byName[] = {{"data/tuto.dat", 3},
                  {"practice/tuto-2000-20261209-150102.dat", 3},
                  {"practice/tuto-2000-20261209-150102-2.dat", 3},
                  {"practice/demo1-1234-20261209-150102.dat", 1},
                  {"tutorial.dat", 1},
                  {"data/demo2.dat", 1}};
    for (const auto& b : byName) {
        const char* watch[] = {"mervox", "--watch", b.path, "--at", "5", "--take-over"};
        c = ParseCommandLine(6, const_cast<char**>(watch));
        EXPECT_TRUE(c.error.empty()) << c.error;
        EXPECT_EQ(c.mode, b.mode) << b.path;
        EXPECT_TRUE(c.takeOver);
    }
    const char* given[] = {"mervox", "--headless", "--replay", "data/tuto.dat", "--mode", "1"};
    EXPECT_EQ(ParseCommandLine(6, const_cast<char**>(given)).mode, 1);
    const char* takeOverAlone[] = {"mervox", "--take-over"};
    EXPECT_FALSE(ParseCommandLine(2, const_cast<char**>(takeOverAlone)).error.empty());
}

}  // namespace
}  // namespace mervox::testing
