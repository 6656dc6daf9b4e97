#include "save/config_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "save_test_dir.h"

namespace mervox {
namespace {

using mervox_test::TempGameDir;

std::unique_ptr<GameState> FreshState() {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    return g;
}

// The default settings file as the game has always written it: Shift-JIS
// comments, CR LF between the lines and none after the last.
std::string DefaultFileBytes() {
    const unsigned char bytes[] = {
        'F', 'R', 'A', 'M', 'E', 'R', 'A', 'T', 'E', '\t', '=', ' ', '6', '0', ' ', ' ',
        0x81, 0x69, '6', '0', ',', ' ', '3', '0', ',', ' ', '2', '0', ',', ' ', '1', '5',
        0x82, 0xa9, 0x82, 0xe7, 0x91, 0x49, 0x91, 0xf0, 0x81, 0x6a, '\r', '\n',
        'B', 'G', 'M', 'M', 'O', 'D', 'E', ' ', ' ', '\t', '=', ' ', '0', ' ', ' ',
        0x81, 0x69, '0', ':', 'B', 'G', 'M', 0x82, 0xf0, 0x8d, 0xc4, 0x90, 0xb6, 0x82, 0xb7, 0x82, 0xe9,
        ',', ' ', '1', ':', 'B', 'G', 'M', 0x82, 0xf0, 0x8d, 0xc4, 0x90, 0xb6, 0x82, 0xb5, 0x82, 0xc8,
        0x82, 0xa2, 0x81, 0x6a, '\r', '\n',
        'S', 'E', 'M', 'O', 'D', 'E', ' ', ' ', ' ', '\t', '=', ' ', '0', ' ', ' ',
        0x81, 0x69, '0', ':', 0x8c, 0xf8, 0x89, 0xca, 0x89, 0xb9, 0x82, 0xf0, 0x8d, 0xc4, 0x90, 0xb6,
        0x82, 0xb7, 0x82, 0xe9, ',', ' ', '1', ':', 0x8c, 0xf8, 0x89, 0xca, 0x89, 0xb9, 0x82, 0xf0,
        0x8d, 0xc4, 0x90, 0xb6, 0x82, 0xb5, 0x82, 0xc8, 0x82, 0xa2, 0x81, 0x6a,
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST(ConfigFile, DefaultFileIsExactBytes) {
    const std::string expected = DefaultFileBytes();
    ASSERT_EQ(expected.size(), 158u);
    EXPECT_EQ(FormatConfig(1, 0, 0), expected);

    TempGameDir dir;
    auto g = FreshState();
    g->FrameSkip = 4;
    g->BGMMODE = SoundOff;
    EXPECT_FALSE(ReadConfigFile(*g, dir.dir()));  // missing: defaults, file created
    EXPECT_EQ(g->FrameSkip, 1);
    EXPECT_EQ(g->BGMMODE, 0);
    EXPECT_EQ(g->SEMODE, 0);
    EXPECT_EQ(dir.read("config.txt"), expected);
}

TEST(ConfigFile, FrameRateMapsToFrameSkipAndBack) {
    // FRAMERATE value -> FrameSkip, for every value from -1 to 70.
    auto expectedSkip = [](int v) {
        if (v >= 31 && v <= 60) return 1;
        if (v >= 21 && v <= 30) return 2;
        if (v >= 16 && v <= 20) return 3;
        if (v >= 13 && v <= 15) return 4;
        if (v == 12 || v == 11) return 5;
        if (v == 10 || v == 9) return 6;
        if (v == 8) return 7;
        if (v == 7) return 8;
        if (v == 6) return 10;
        return 1;
    };
    for (int v = -1; v <= 70; ++v) {
        auto g = FreshState();
        ParseConfig("FRAMERATE\t= " + std::to_string(v) + "\r\n", *g);
        EXPECT_EQ(g->FrameSkip, expectedSkip(v)) << "FRAMERATE " << v;
    }
    // Written back: 60, 30, 20, 15, 12, 10, 8, 7, 6, 6.
    const int shown[10] = {60, 30, 20, 15, 12, 10, 8, 7, 6, 6};
    for (int skip = 1; skip <= 10; ++skip) {
        const std::string text = FormatConfig(skip, 0, 0);
        EXPECT_EQ(text.rfind("FRAMERATE\t= " + std::to_string(shown[skip - 1]) + "  ", 0), 0u) << skip;
    }
    // 25 reads as 30 per second and is written back as 30; 5 as 60; 7 stays 7.
    auto g = FreshState();
    ParseConfig("FRAMERATE\t= 25", *g);
    EXPECT_EQ(FormatConfig(g->FrameSkip, 0, 0).substr(0, 14), "FRAMERATE\t= 30");
    ParseConfig("FRAMERATE\t= 5", *g);
    EXPECT_EQ(FormatConfig(g->FrameSkip, 0, 0).substr(0, 14), "FRAMERATE\t= 60");
    ParseConfig("FRAMERATE\t= 7", *g);
    EXPECT_EQ(FormatConfig(g->FrameSkip, 0, 0).substr(0, 14), "FRAMERATE\t= 7 ");
}

TEST(ConfigFile, SwitchesReadAsOnOrOff) {
    auto g = FreshState();
    ParseConfig("SEMODE   \t= 0\r\nBGMMODE  \t= 5\r\nFRAMERATE\t= 20", *g);
    EXPECT_EQ(g->BGMMODE, 1);
    EXPECT_EQ(g->SEMODE, 0);
    EXPECT_EQ(g->FrameSkip, 3);
    const std::string text = FormatConfig(g->FrameSkip, g->BGMMODE, g->SEMODE);
    EXPECT_NE(text.find("BGMMODE  \t= 1  "), std::string::npos);
    EXPECT_NE(text.find("SEMODE   \t= 0  "), std::string::npos);
}

TEST(ConfigFile, TwoFrameRateLines) {
    auto g = FreshState();
    // A first line giving one drawn frame per update does not block the second.
    ParseConfig("FRAMERATE\t= 60\r\nFRAMERATE\t= 30\r\n", *g);
    EXPECT_EQ(g->FrameSkip, 2);
    // Otherwise the first wins.
    ParseConfig("FRAMERATE\t= 20\r\nFRAMERATE\t= 30\r\n", *g);
    EXPECT_EQ(g->FrameSkip, 3);
}

TEST(ConfigFile, KeysMustBePaddedExactly) {
    auto g = FreshState();
    ParseConfig("BGMMODE \t= 1\r\nBGMMODE\t= 1\r\nSEMODE\t\t= 1", *g);
    EXPECT_EQ(g->BGMMODE, 0);
    EXPECT_EQ(g->SEMODE, 0);
    // The padded key with other white space before '=' still counts.
    ParseConfig("BGMMODE   =1", *g);
    EXPECT_EQ(g->BGMMODE, 1);
}

TEST(ConfigFile, OnlyTheFirstThreeLinesAreRead) {
    auto g = FreshState();
    ParseConfig("# settings\r\n\r\nFRAMERATE\t= 30\r\nSEMODE   \t= 1\r\n", *g);
    EXPECT_EQ(g->FrameSkip, 2);
    EXPECT_EQ(g->SEMODE, 0);
    // A line longer than 255 characters is read in two parts, and the rest
    // takes the place of a line.
    const std::string longLine = "FRAMERATE\t= 30" + std::string(300, ' ') + "\r\n";
    ParseConfig(longLine + "BGMMODE  \t= 1\r\nSEMODE   \t= 1", *g);
    EXPECT_EQ(g->FrameSkip, 2);
    EXPECT_EQ(g->BGMMODE, 1);
    EXPECT_EQ(g->SEMODE, 0);
}

TEST(ConfigFile, UnreadableValuesChangeNothing) {
    auto g = FreshState();
    ParseConfig("FRAMERATE=30\r\nBGMMODE  \t= on\r\nSEMODE   \t=", *g);
    EXPECT_EQ(g->FrameSkip, 1);
    EXPECT_EQ(g->BGMMODE, 0);
    EXPECT_EQ(g->SEMODE, 0);
    // Nor does a line that gave no value block a later good one.
    ParseConfig("FRAMERATE\t= x\r\nFRAMERATE\t= 15\r\n", *g);
    EXPECT_EQ(g->FrameSkip, 4);
    // Huge numbers saturate instead of wrapping.
    ParseConfig("FRAMERATE\t= 99999999999999999999\r\nBGMMODE  \t= -99999999999999999999", *g);
    EXPECT_EQ(g->FrameSkip, 1);
    EXPECT_EQ(g->BGMMODE, 1);
    // LF line ends and an empty file.
    ParseConfig("SEMODE   \t= 1\nBGMMODE  \t= 1\n", *g);
    EXPECT_EQ(g->SEMODE, 1);
    EXPECT_EQ(g->BGMMODE, 1);
    ParseConfig("", *g);
    EXPECT_EQ(g->FrameSkip, 1);
    EXPECT_EQ(g->SEMODE, 0);
}

TEST(ConfigFile, FailedWriteKeepsTheOldFile) {
    TempGameDir dir;
    dir.write("config.txt", "FRAMERATE\t= 20");
    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directory(dir.path / "config.txt.tmp");
    auto g = FreshState();
    g->FrameSkip = 2;
    EXPECT_FALSE(WriteConfigFile(*g, dir.dir()));
    EXPECT_EQ(dir.read("config.txt"), "FRAMERATE\t= 20");

    TempGameDir missing(false);
    EXPECT_FALSE(WriteConfigFile(*g, dir.dir() + "/no/such/folder"));
}

}  // namespace
}  // namespace mervox
