// The recording file: its format, its bad lines, a missing file.
#include <gtest/gtest.h>

#include <memory>
#include <string>

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
    g->RunMode = RunDemo1;
    EXPECT_FALSE(LoadInputLog(*g, "/nonexistent-folder"));
    EXPECT_EQ(g->InputLog[0].frame, 5);
    EXPECT_STREQ(InputLogFileName(RunTutorial), "data/tuto.dat");
    EXPECT_STREQ(InputLogFileName(RunDemo2), "data/demo2.dat");
    EXPECT_STREQ(InputLogFileName(RunGame), "data/replay.dat");
}

}  // namespace
}  // namespace mervox::testing
