// --submit and --board against boards of the test's own on 127.0.0.1: the
// verdict printed and the exit status it gives; no board, no name, a file
// that is not a recording, a board away or refusing each said on the error
// stream with a non-zero status.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../net/fake_board.h"
#include "../save/save_test_dir.h"
#include "app/board/board_commands.h"
#include "net/board_token.h"

namespace mervox {
namespace {

using mervox_test::FakeBoard;
using mervox_test::TempGameDir;

std::string Drain(std::FILE* f) {
    std::rewind(f);
    std::string s;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

struct CommandRun {
    TempGameDir dir;
    BoardCommandRun run;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CommandRun(const std::string& board, const std::string& player) {
        run.baseDir = dir.dir();
        run.options.board = board;
        run.options.player = player;
        run.limits.connectMs = 2000;
        run.limits.totalMs = 2000;
        run.verdictWaitMs = 5000;
        run.out = out;
        run.err = err;
        dir.write("round.dat", "00010001\r\n00100000\r\n");
    }
    ~CommandRun() {
        std::fclose(out);
        std::fclose(err);
    }
    std::string recording() const { return dir.dir() + "/round.dat"; }
};

TEST(BoardCommands, SubmitPrintsTheVerdictAndKeepsTheToken) {
    FakeBoard board;
    int asks = 0;
    board.onAnyRequest([&](const httplib::Request& q, httplib::Response& r) {
        if (q.method == "POST") {
            FakeBoard::Json(r, 202, R"({"id": 7, "state": "pending", "token": "tok"})");
        } else if (++asks < 3) {
            FakeBoard::Json(r, 200, R"({"id": 7, "state": "running"})");
        } else {
            FakeBoard::Json(r, 200, R"({"id":7,"name":"ann","state":"verified","score":3100,"level":4,"rank":2,"total":5})");
        }
    });
    CommandRun c(board.base(), "ann");
    EXPECT_EQ(SubmitRecording(c.run, c.recording()), 0) << Drain(c.err);
    EXPECT_EQ(Drain(c.out), "verified: score 3100, level 4, 2nd of 5 (submission 7)\n");
    EXPECT_EQ(ReadBoardToken(c.dir.dir(), board.base(), "ann"), "tok");

    board.onAnyRequest([&](const httplib::Request& q, httplib::Response& r) {
        if (q.method == "POST") FakeBoard::Json(r, 202, R"({"id": 8, "state": "pending"})");
        else FakeBoard::Json(r, 200, R"({"id":8,"state":"rejected","reason":"the round ends before frame 10"})");
    });
    CommandRun rejected(board.base(), "ann");
    EXPECT_EQ(SubmitRecording(rejected.run, rejected.recording()), 1);
    EXPECT_NE(Drain(rejected.err).find("the round ends before frame 10"), std::string::npos);
}

TEST(BoardCommands, EveryFailureIsSaidWithANonZeroStatus) {
    FakeBoard board;
    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        FakeBoard::Json(r, 401, R"({"error": "the name belongs to someone else"})");
    });
    struct Case {
        std::string board, player, file, expect;
    };
    const std::string away = "http://127.0.0.1:" + std::to_string(mervox_test::ClosedLoopbackPort());
    const Case cases[] = {
        {"", "ann", "", "no board is set"},
        {board.base(), "", "", "no player name is set"},
        {board.base(), "ann", "missing.dat", "cannot open"},
        {board.base(), "ann", "notes.txt", "not a recording"},
        {away, "ann", "", "cannot be reached"},
        {board.base(), "ann", "", "the name belongs to someone else"},
    };
    for (const Case& k : cases) {
        CommandRun c(k.board, k.player);
        c.dir.write("notes.txt", "hello, board\n");
        const std::string file = k.file.empty() ? c.recording() : c.dir.dir() + "/" + k.file;
        EXPECT_EQ(SubmitRecording(c.run, file), 1) << k.expect;
        const std::string err = Drain(c.err);
        EXPECT_NE(err.find(k.expect), std::string::npos) << err;
        EXPECT_EQ(Drain(c.out), "");
    }
    CommandRun listAway(away, "ann");
    EXPECT_EQ(ListBoard(listAway.run), 1);
    EXPECT_NE(Drain(listAway.err).find("cannot be reached"), std::string::npos);
}

TEST(BoardCommands, TheListShowsTheBestAndThePlayersStanding) {
    FakeBoard board;
    board.onAnyRequest([](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/api/v1/scores")
            FakeBoard::Json(r, 200,
                            R"({"total":2,"scores":[{"rank":1,"name":"bob","score":900,"level":8,"id":2},)"
                            R"({"rank":2,"name":"ann","score":300,"level":3,"id":1}]})");
        else
            FakeBoard::Json(r, 200, R"({"name":"ann","rank":2,"total":2,"best":{"rank":2,"name":"ann","score":300,"level":3,"id":1}})");
    });
    CommandRun c(board.base(), "ann");
    EXPECT_EQ(ListBoard(c.run), 0);
    const std::string out = Drain(c.out);
    EXPECT_NE(out.find("    1  bob"), std::string::npos) << out;
    EXPECT_LT(out.find("bob"), out.find("  ann"));
    EXPECT_NE(out.find("ann: best 300, level 3, 2nd of 2"), std::string::npos) << out;
}

}  // namespace
}  // namespace mervox
