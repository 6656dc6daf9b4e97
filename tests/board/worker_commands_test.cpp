// `verify` and `reverify` on the command line, and reverify's effect on a
// board: every verified round queued again, nothing else touched.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "board/command_line.h"
#include "board/recording_check.h"
#include "board/worker_commands.h"
#include "board_test_support.h"

namespace mervox::board {
namespace {

TEST(WorkerCommands, VerifyNeedsADatabaseAndSaneNumbers) {
    VerifyCommand cmd;
    std::string error;
    EXPECT_FALSE(ParseVerifyCommand({"verify"}, cmd, error));
    EXPECT_NE(error.find("--db"), std::string::npos) << error;
    ASSERT_TRUE(ParseVerifyCommand({"verify", "--db", "postgresql:///b", "--workers", "3", "--lease", "2", "--poll",
                                    "9"},
                                   cmd, error))
        << error;
    EXPECT_EQ(cmd.dbUrl, "postgresql:///b");
    EXPECT_EQ(cmd.workers, 3);
    EXPECT_EQ(cmd.leaseSeconds, 2);
    EXPECT_EQ(cmd.pollSeconds, 9);
    ASSERT_TRUE(ParseVerifyCommand({"verify", "--db", "x"}, cmd, error));
    EXPECT_GE(cmd.workers, 1);
    EXPECT_EQ(cmd.leaseSeconds, 60);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"verify", "--db", "x", "--workers", "0"},
             {"verify", "--db", "x", "--lease", "-1"},
             {"verify", "--db", "x", "--lease", "5s"},
             {"verify", "--db", "x", "--poll"},
             {"verify", "--db", "x", "--listen", "127.0.0.1:1"},
             {"verify", "--db", ""},
         }) {
        EXPECT_FALSE(ParseVerifyCommand(bad, cmd, error)) << bad.back();
        EXPECT_FALSE(error.empty());
    }
    ReverifyCommand re;
    ASSERT_TRUE(ParseReverifyCommand({"reverify"}, re, error));
    EXPECT_EQ(re.dbUrl, "board.db");
    EXPECT_FALSE(ParseReverifyCommand({"reverify", "--workers", "2"}, re, error));
    EXPECT_FALSE(ParseReverifyCommand({"reverify", "--db"}, re, error));
    EXPECT_TRUE(IsWorkerCommand({"reverify"}));
    EXPECT_FALSE(IsWorkerCommand({"serve", "verify"}));
}

// serve and verify read their values by one rule: each fault says which
// option and what was wrong, and a bad value leaves nothing half read.
TEST(WorkerCommands, ServeAndVerifyNameTheOptionAtFaultAlike) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case serve[] = {
        {{"serve", "--lease"}, "--lease needs a value"},
        {{"--threads", "0"}, "bad value for --threads: 0"},
        {{"--max-queue", "12x"}, "bad value for --max-queue: 12x"},
        {{"--db", ""}, "bad value for --db: "},
        {{"--workers", "2"}, "unknown argument --workers (see mervox-board --help)"},
    };
    for (const Case& c : serve) {
        BoardCommandLine cmd;
        std::string error;
        EXPECT_FALSE(ParseBoardCommandLine(c.args, cmd, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    const Case verify[] = {
        {{"verify", "--db", "x", "--lease"}, "--lease needs a value"},
        {{"verify", "--db", "x", "--poll", "3601"}, "bad value for --poll: 3601"},
        {{"verify", "--threads", "2"}, "unknown argument --threads for verify (see mervox-board --help)"},
    };
    for (const Case& c : verify) {
        VerifyCommand cmd;
        std::string error;
        EXPECT_FALSE(ParseVerifyCommand(c.args, cmd, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
    BoardCommandLine cmd;
    std::string error;
    ASSERT_TRUE(ParseBoardCommandLine({"--max-queue", "100000000", "--name-rate", "0", "--threads", "1024"}, cmd, error))
        << error;
    EXPECT_EQ(cmd.serve.maxQueued, 100000000);
    EXPECT_EQ(cmd.serve.namePerMinute, 0);
    EXPECT_EQ(cmd.serve.threads, 1024);
}

TEST(WorkerCommands, TheManualPageNamesTheOptionsHelpGivesThem) {
    std::string page = test::ReadFile(test::SourcePath("dist/mervox-board.1"));
    const size_t from = page.find(".SH VERIFY AND REVERIFY");
    ASSERT_NE(from, std::string::npos);
    page = page.substr(from, page.find(".SH ", from + 1) - from);
    for (size_t p; (p = page.find("\\-")) != std::string::npos;) page.replace(p, 2, "-");
    auto options = [](const std::string& text) {
        std::set<std::string> found;
        const std::regex option("--[a-z][a-z-]*");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
            found.insert(it->str());
        return found;
    };
    const auto fromHelp = options(WorkerCommandsUsage());
    EXPECT_GE(fromHelp.size(), 4u);
    EXPECT_EQ(options(page), fromHelp);
}

class ReverifyTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ReverifyTest, QueuesTheVerifiedRoundsAgainAndLeavesTheRest) {
    const std::string url = test::FindTestBackend(GetParam()).freshUrl();
    std::string error;
    auto db = OpenStorage(url, error);
    ASSERT_TRUE(db) << error;
    db->Migrate();
    auto add = [&](const std::string& name, int n) {
        CheckedRecording r;
        std::string key, why;
        CheckName(name, key, why);
        EXPECT_TRUE(CheckRecording("000" + std::to_string(10 + n) + "001\n", r, why)) << why;
        return db->Submit(NewSubmission{name, key, r.canonical, r.digest, 1, "127.0.0.1"}, Sha256Hex("t"),
                          Sha256Hex("t"), 100)
            .id;
    };
    const int64_t verified = add("ann", 1), rejected = add("bob", 2), waiting = add("cat", 3);
    for (int k = 0; k < 2; ++k) {
        auto job = db->ClaimJob("w", 60);
        ASSERT_TRUE(job);
        Verdict v;
        v.state = job->id == verified ? JobState::Verified : JobState::Rejected;
        v.score = 500;
        v.reason = v.state == JobState::Rejected ? "the recording never ends the round" : "";
        ASSERT_TRUE(db->FinishJob(job->id, "w", v));
    }
    EXPECT_EQ(RunReverify(ReverifyCommand{url}), 0);
    EXPECT_EQ(db->Submission(verified)->state, JobState::Pending);
    EXPECT_EQ(db->Submission(rejected)->state, JobState::Rejected);
    EXPECT_EQ(db->Submission(waiting)->state, JobState::Pending);
    EXPECT_EQ(db->QueueDepth(), 2);
    // While it waits, the board still shows the old result.
    EXPECT_EQ(db->Scores(10, 0).total, 1);
    EXPECT_NE(RunReverify(ReverifyCommand{"postgresql://nobody@/none?host=/nonexistent-mervox&port=1"}), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, ReverifyTest, ::testing::ValuesIn(test::TestBackendNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace mervox::board
