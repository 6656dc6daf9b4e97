#include "save/score_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "save/config_file.h"
#include "save/saved_data.h"
#include "save_test_dir.h"

namespace mervox {
namespace {

using mervox_test::TempGameDir;

std::unique_ptr<GameState> FreshState() {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    return g;
}

TEST(HighScoreFile, RoundTripInSixDigitLines) {
    TempGameDir dir;
    auto g = FreshState();
    g->HighScores[0] = 25000;
    g->HighScores[1] = 20000;
    g->HighScores[2] = 8000;
    ASSERT_TRUE(WriteHighScoreFile(*g, dir.dir()));
    EXPECT_EQ(dir.read("data/scr.hsc"), "025000\r\n020000\r\n008000");
    auto h = FreshState();
    ASSERT_TRUE(ReadHighScoreFile(*h, dir.dir()));
    EXPECT_EQ(h->HighScores[0], 25000u);
    EXPECT_EQ(h->HighScores[1], 20000u);
    EXPECT_EQ(h->HighScores[2], 8000u);
}

TEST(HighScoreFile, ScoresOfAMillionAndMoreSurvive) {
    const uint32_t in[3] = {4294967295u, 1000000u, 999999u};
    const std::string text = FormatHighScores(in);
    EXPECT_EQ(text, "4294967295\r\n1000000\r\n999999");
    uint32_t out[3] = {0, 0, 0};
    EXPECT_EQ(ParseHighScores(text, out), 3);
    EXPECT_EQ(out[0], 4294967295u);
    EXPECT_EQ(out[1], 1000000u);
    EXPECT_EQ(out[2], 999999u);
}

TEST(HighScoreFile, WhiteSpaceAndLineEndsAreSkipped) {
    uint32_t out[3] = {0, 0, 0};
    EXPECT_EQ(ParseHighScores("  000001\n                 8000\n3000\n\n", out), 3);
    EXPECT_EQ(out[0], 1u);
    EXPECT_EQ(out[1], 8000u);
    EXPECT_EQ(out[2], 3000u);
}

TEST(HighScoreFile, ReadingStopsAtTheFirstBadNumber) {
    uint32_t out[3] = {7, 8, 9};
    EXPECT_EQ(ParseHighScores("020000\r\nabc\r\n003000", out), 1);
    EXPECT_EQ(out[0], 20000u);
    EXPECT_EQ(out[1], 8u);
    EXPECT_EQ(out[2], 9u);

    uint32_t neg[3] = {1, 2, 3};
    EXPECT_EQ(ParseHighScores("-5\r\n1\r\n1", neg), 0);
    EXPECT_EQ(neg[0], 1u);

    uint32_t big[3] = {1, 2, 3};
    EXPECT_EQ(ParseHighScores("5\r\n4294967296\r\n1", big), 1);  // one more than 32 bits hold
    EXPECT_EQ(big[0], 5u);
    EXPECT_EQ(big[1], 2u);

    uint32_t empty[3] = {1, 2, 3};
    EXPECT_EQ(ParseHighScores("", empty), 0);
    EXPECT_EQ(empty[2], 3u);

    // At start-up the entries not read stay 0, and the file is rewritten so.
    TempGameDir dir;
    dir.write("data/scr.hsc", "012345\r\n");
    auto g = FreshState();
    LoadConfigAndScores(*g, dir.dir());
    EXPECT_EQ(g->HighScores[0], 12345u);
    EXPECT_EQ(g->HighScores[1], 0u);
    EXPECT_EQ(dir.read("data/scr.hsc"), "012345\r\n000000\r\n000000");
}

TEST(SavedData, StartUpCreatesBothFiles) {
    TempGameDir dir;
    auto g = FreshState();
    LoadConfigAndScores(*g, dir.dir());
    EXPECT_EQ(g->HighScores[0], 20000u);
    EXPECT_EQ(g->HighScores[1], 8000u);
    EXPECT_EQ(g->HighScores[2], 3000u);
    EXPECT_EQ(dir.read("data/scr.hsc"), "020000\r\n008000\r\n003000");
    EXPECT_EQ(dir.read("config.txt"), FormatConfig(1, 0, 0));
    EXPECT_FALSE(dir.exists("config.txt.tmp"));
    EXPECT_FALSE(dir.exists("data/scr.hsc.tmp"));
}

TEST(SavedData, StartUpNormalisesTheSettings) {
    TempGameDir dir;
    dir.write("config.txt", "BGMMODE  \t= 3\nFRAMERATE\t= 25\njunk");
    auto g = FreshState();
    LoadConfigAndScores(*g, dir.dir());
    EXPECT_EQ(dir.read("config.txt"), FormatConfig(2, 1, 0));
}

TEST(SavedData, MissingDataFolderKeepsValuesInMemory) {
    TempGameDir dir(false);
    auto g = FreshState();
    LoadConfigAndScores(*g, dir.dir());
    EXPECT_EQ(g->HighScores[0], 20000u);
    g->HighScores[0] = 30000;
    EXPECT_FALSE(SaveScoresAndConfig(*g, dir.dir()));
    EXPECT_EQ(g->HighScores[0], 30000u);
    EXPECT_FALSE(dir.exists("data"));
    // The settings beside it are still written.
    EXPECT_TRUE(dir.exists("config.txt"));
}

}  // namespace
}  // namespace mervox
