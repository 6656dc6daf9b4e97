// The mervox-board program itself: its command line, and a server killed
// without warning or stopped by SIGTERM losing nothing it accepted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <set>
#include <thread>

#include "board/command_line.h"
#include "board_test_support.h"

namespace mervox::board {
namespace {

const std::string kProgram = std::string(MERVOX_BINARY_DIR) + "/mervox-board";

// A mervox-board process with its stderr in a file.
class BoardProcess {
public:
    BoardProcess(const std::vector<std::string>& args, const std::string& logPath) : log_(logPath) {
        pid_ = fork();
        if (pid_ == 0) {
            FILE* f = std::freopen(logPath.c_str(), "w", stderr);
            (void)f;
            std::vector<char*> argv{const_cast<char*>(kProgram.c_str())};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(kProgram.c_str(), argv.data());
            _exit(127);
        }
    }
    ~BoardProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }

    // The port from the "serving http://ADDRESS:PORT/" line; 0 when it did
    // not come within the bound.
    int AwaitPort() {
        for (int k = 0; k < 500; ++k) {
            const std::string text = test::ReadFile(log_);
            const size_t at = text.find("serving http://127.0.0.1:");
            if (at != std::string::npos) return std::atoi(text.c_str() + at + 25);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return 0;
    }

    void Signal(int sig) { kill(pid_, sig); }

    // The exit status, or -1 when it ended by a signal.
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    std::string log_;
};

int RunProgram(const std::string& args, std::string& out) {
    FILE* p = popen((kProgram + " " + args + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char chunk[512];
    size_t n;
    out.clear();
    while ((n = std::fread(chunk, 1, sizeof chunk, p)) > 0) out.append(chunk, n);
    const int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(BoardProgram, HelpVersionAndBadArgumentsAnswerAsAProgramShould) {
    std::string out;
    EXPECT_EQ(RunProgram("--help", out), 0);
    EXPECT_NE(out.find("--listen ADDRESS:PORT"), std::string::npos);
    EXPECT_EQ(RunProgram("--version", out), 0);
    EXPECT_EQ(out.rfind("mervox-board ", 0), 0u);
    EXPECT_EQ(RunProgram("serve --verifiers lots", out), 2);
    EXPECT_NE(out.find("bad value for --verifiers"), std::string::npos);
    EXPECT_EQ(RunProgram("--frobnicate", out), 2);
    EXPECT_EQ(RunProgram("--listen 127.0.0.1", out), 2);
    test::ScratchDir dir;
    EXPECT_EQ(RunProgram("--listen 127.0.0.1:0 --db " + dir.path + "/no/such/folder/b.db", out), 1);
    EXPECT_NE(out.find("cannot open"), std::string::npos);
}

std::set<std::string> Options(const std::string& text) {
    std::set<std::string> found;
    const std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        found.insert(it->str());
    return found;
}

TEST(BoardProgram, TheManualPageNamesTheOptionsHelpNames) {
    std::string page = test::ReadFile(test::SourcePath("dist/mervox-board.1"));
    // The options are those of its OPTIONS section (the rest names mervox's too).
    const size_t from = page.find(".SH OPTIONS");
    ASSERT_NE(from, std::string::npos);
    page = page.substr(from, page.find(".SH ", from + 1) - from);
    for (size_t p; (p = page.find("\\-")) != std::string::npos;) page.replace(p, 2, "-");
    const auto fromHelp = Options(BoardUsage());
    EXPECT_GE(fromHelp.size(), 8u);
    EXPECT_EQ(Options(page), fromHelp);
}

TEST(BoardCommandLine, ReadsTheServeOptions) {
    BoardCommandLine cmd;
    std::string error;
    ASSERT_TRUE(ParseBoardCommandLine({"serve", "--listen", "[::1]:9000", "--db", "x.db", "--verifiers", "0",
                                       "--rate", "5", "--lease", "7"},
                                      cmd, error))
        << error;
    EXPECT_EQ(cmd.serve.host, "::1");
    EXPECT_EQ(cmd.serve.port, 9000);
    EXPECT_EQ(cmd.serve.dbUrl, "x.db");
    EXPECT_EQ(cmd.serve.verifiers, 0);
    EXPECT_EQ(cmd.serve.addressPerMinute, 5);
    EXPECT_EQ(cmd.serve.leaseSeconds, 7);
    ASSERT_TRUE(ParseBoardCommandLine({}, cmd, error));
    EXPECT_EQ(cmd.serve.host, "127.0.0.1");
    EXPECT_EQ(cmd.serve.port, 8080);
    EXPECT_EQ(cmd.serve.dbUrl, "board.db");
    EXPECT_GE(cmd.serve.verifiers, 1);
    for (const char* bad : {"127.0.0.1:65536", "127.0.0.1:", "nothing", "1.2.3.4:-1"}) {
        std::string host;
        int port = 0;
        EXPECT_FALSE(ParseListenAddress(bad, host, port)) << bad;
    }
}

TEST(BoardProgram, NothingAcceptedIsLostWhenTheServerIsKilled) {
    test::ScratchDir dir;
    const std::string db = dir.path + "/board.db";
    std::vector<int64_t> ids;
    {
        // No verifiers: everything accepted is still waiting when it dies.
        BoardProcess board({"serve", "--listen", "127.0.0.1:0", "--db", db, "--verifiers", "0", "--rate", "0",
                            "--name-rate", "0"},
                           dir.path + "/first.log");
        const int port = board.AwaitPort();
        ASSERT_GT(port, 0) << test::ReadFile(dir.path + "/first.log");
        httplib::Client c("127.0.0.1", port);
        c.set_read_timeout(20, 0);
        std::string token;
        for (int k = 0; k < 20; ++k) {
            char text[32];
            std::snprintf(text, sizeof text, "%05d001\n%05d000\n", k + 1, k + 30);
            const auto r = test::Submit(c, "ann", text, token);
            ASSERT_EQ(r.status, 202) << r.body;
            if (token.empty()) token = r.json()["token"];
            ids.push_back(r.json()["id"]);
        }
        board.Signal(SIGKILL);
        EXPECT_EQ(board.Wait(), -1);
    }
    // A job a verifier held when it died is taken again once its lease runs out.
    {
        std::string error;
        auto s = OpenStorage(db, error);
        ASSERT_TRUE(s) << error;
        ASSERT_TRUE(s->ClaimJob("dead-worker", 1));
    }
    BoardProcess board({"--listen", "127.0.0.1:0", "--db", db, "--verifiers", "2", "--lease", "1"},
                       dir.path + "/second.log");
    const int port = board.AwaitPort();
    ASSERT_GT(port, 0) << test::ReadFile(dir.path + "/second.log");
    httplib::Client c("127.0.0.1", port);
    c.set_read_timeout(20, 0);
    for (int64_t id : ids) {
        const auto j = test::AwaitFinal(c, id);
        EXPECT_EQ(j["state"], "verified") << j.dump();
    }
    // SIGTERM: a clean end.
    board.Signal(SIGTERM);
    EXPECT_EQ(board.Wait(), 0);
    const std::string log = test::ReadFile(dir.path + "/second.log");
    EXPECT_NE(log.find("mervox-board: stopped"), std::string::npos) << log;
    EXPECT_NE(log.find("GET /api/v1/submissions/"), std::string::npos) << "one line a request";
    EXPECT_NE(log.find(" verified score="), std::string::npos) << "one line a job";
}

}  // namespace
}  // namespace mervox::board
