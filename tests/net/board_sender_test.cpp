// The sender against boards of the test's own on 127.0.0.1: a round kept
// in the outbox leaves it only with a verdict; a board away, busy or
// talking nonsense keeps it and it goes once the board is back; a refused
// name keeps it; a refused recording is set aside; a stop while sending
// keeps it; the token comes back with the next round, in a file only the
// player can read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "../save/save_test_dir.h"
#include "fake_board.h"
#include "net/board_sender.h"
#include "net/board_token.h"

namespace mervox {
namespace {

using mervox_test::FakeBoard;
using mervox_test::TempGameDir;

constexpr char kRound[] = "00010001\r\n00020000\r\n";

SendTiming QuickTiming() {
    SendTiming t;
    t.firstWaitMs = 50;
    t.longestWaitMs = 200;
    t.firstPollMs = 10;
    t.longestPollMs = 40;
    t.limits.connectMs = 2000;
    t.limits.totalMs = 2000;
    return t;
}

// Waits (a bounded while) for the sender's status to satisfy `done`.
bool WaitFor(const BoardSender& s, const std::function<bool(const BoardStatus&)>& done) {
    for (int i = 0; i < 2000; ++i) {
        if (done(s.status())) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A board that takes every round, says "pending" once, then "verified".
struct HonestBoard {
    std::atomic<int> posts{0};
    std::string lastToken;
    std::mutex lock;
    void install(FakeBoard& b) {
        b.onAnyRequest([this](const httplib::Request& q, httplib::Response& r) {
            if (q.method == "POST") {
                const int n = ++posts;
                {
                    std::lock_guard<std::mutex> hold(lock);
                    lastToken = q.get_header_value("X-Mervox-Token");
                }
                FakeBoard::Json(r, 202, "{\"id\": " + std::to_string(n) + ", \"state\": \"pending\"" +
                                             (n == 1 ? ", \"token\": \"first-secret\"}" : "}"));
                return;
            }
            static std::atomic<int> asks{0};
            if (++asks % 2 == 1) {
                FakeBoard::Json(r, 200, R"({"id": 1, "state": "running", "score": null})");
                return;
            }
            FakeBoard::Json(r, 200,
                            R"({"id":1,"name":"ann","state":"verified","score":4200,"level":6,"frames":900,)"
                            R"("reason":"","rank":12,"total":340})");
        });
    }
};

BoardSettings SettingsFor(const std::string& base, const TempGameDir& dir) {
    BoardSettings s;
    s.board = base;
    s.player = "ann";
    s.baseDir = dir.dir();
    return s;
}

TEST(BoardSender, AVerifiedRoundLeavesTheOutboxAndItsTokenIsKeptPrivately) {
    TempGameDir dir;
    FakeBoard board;
    HonestBoard honest;
    honest.install(board);
    BoardSender sender(SettingsFor(board.base(), dir), QuickTiming());
    sender.start();
    ASSERT_TRUE(sender.keep(kRound));
    ASSERT_TRUE(WaitFor(sender, [](const BoardStatus& s) { return s.verdicts == 1; }));
    BoardStatus st = sender.status();
    EXPECT_EQ(st.kind, BoardStatusKind::Verified);
    EXPECT_EQ(st.score, 4200);
    EXPECT_EQ(st.kept, 0);
    EXPECT_EQ(DescribeBoardStatus(st), "board: verified \u2014 12th of 340");
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());

    EXPECT_EQ(ReadBoardToken(dir.dir(), board.base(), "ann"), "first-secret");
    struct stat info {};
    ASSERT_EQ(::stat(BoardTokenPath(dir.dir()).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // The next round goes with the token.
    ASSERT_TRUE(sender.keep("00030004\r\n"));
    ASSERT_TRUE(WaitFor(sender, [](const BoardStatus& s) { return s.verdicts == 2; }));
    std::lock_guard<std::mutex> hold(honest.lock);
    EXPECT_EQ(honest.lastToken, "first-secret");
}

TEST(BoardSender, RoundsWaitForABoardAwayBusyOrTalkingNonsenseAndGoWhenItIsBack) {
    TempGameDir dir;
    const int port = mervox_test::ClosedLoopbackPort();
    ASSERT_GT(port, 0);
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    auto sender = std::make_unique<BoardSender>(SettingsFor(base, dir), QuickTiming());
    sender->start();
    ASSERT_TRUE(sender->keep(kRound));
    ASSERT_TRUE(sender->keep(kRound));
    ASSERT_TRUE(WaitFor(*sender, [](const BoardStatus& s) {
        return s.kind == BoardStatusKind::Waiting && s.attempts >= 2;
    }));
    EXPECT_EQ(DescribeBoardStatus(sender->status()), "board: waiting \u2014 2 games kept, the board did not answer");
    EXPECT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 2u);

    // The program ends with the board still away, and starts again: the
    // rounds are there and wait on.
    sender.reset();
    sender = std::make_unique<BoardSender>(SettingsFor(base, dir), QuickTiming());
    {
        FakeBoard board(port);
        ASSERT_EQ(board.port(), port);
        board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
            r.status = 503;
            r.set_header("Retry-After", "0");
        });
        sender->start();
        ASSERT_TRUE(WaitFor(*sender, [&](const BoardStatus& s) {
            return s.kind == BoardStatusKind::Waiting && board.requests() >= 2;
        }));
        EXPECT_NE(DescribeBoardStatus(sender->status()).find("busy"), std::string::npos);
        board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
            r.status = 200;
            r.set_content("<html>a captive portal</html>", "text/html");
        });
        const int before = board.requests();
        ASSERT_TRUE(WaitFor(*sender, [&](const BoardStatus&) { return board.requests() >= before + 2; }));
        EXPECT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 2u);

        HonestBoard honest;
        honest.install(board);
        sender->nudge();
        ASSERT_TRUE(WaitFor(*sender, [](const BoardStatus& s) { return s.verdicts == 2; }));
    }
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());
}

TEST(BoardSender, RefusalsKeepOrSetAsideAndAStopMidSendKeeps) {
    TempGameDir dir;
    FakeBoard board;
    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        FakeBoard::Json(r, 401, R"({"error": "the name belongs to someone else"})");
    });
    {
        BoardSender sender(SettingsFor(board.base(), dir), QuickTiming());
        sender.start();
        ASSERT_TRUE(sender.keep(kRound));
        ASSERT_TRUE(WaitFor(sender, [](const BoardStatus& s) { return s.kind == BoardStatusKind::Refused; }));
        EXPECT_EQ(DescribeBoardStatus(sender.status()), "board: refused \u2014 the name belongs to someone else");
        // Not asked again and again with the same name.
        const int asked = board.requests();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(board.requests(), asked);
        EXPECT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 1u);
    }

    // A recording the board cannot read is set aside, not deleted.
    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        FakeBoard::Json(r, 400, R"({"error": "line 1 is not a record"})");
    });
    {
        BoardSender sender(SettingsFor(board.base(), dir), QuickTiming());
        sender.start();
        ASSERT_TRUE(WaitFor(sender, [](const BoardStatus& s) { return s.kind == BoardStatusKind::Refused; }));
        EXPECT_EQ(sender.status().reason, "line 1 is not a record");
    }
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir()) + "/refused").rounds().size() == 1u);

    // Stopped while the board holds the answer back: the round stays.
    std::atomic<bool> entered{false};
    board.onAnyRequest([&](const httplib::Request&, httplib::Response& r) {
        entered = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        FakeBoard::Json(r, 202, R"({"id": 1, "state": "pending"})");
    });
    {
        SendTiming patient = QuickTiming();
        patient.limits.totalMs = 60000;
        BoardSender sender(SettingsFor(board.base(), dir), patient);
        sender.start();
        ASSERT_TRUE(sender.keep(kRound));
        ASSERT_TRUE(WaitFor(sender, [&](const BoardStatus&) { return entered.load(); }));
        sender.stop();
    }
    EXPECT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 1u);

    // No board set, or sending off: nothing kept, nothing sent.
    BoardSettings off = SettingsFor(board.base(), dir);
    off.sending = false;
    BoardSender quiet(off, QuickTiming());
    EXPECT_FALSE(quiet.keep(kRound));
    off.sending = true;
    off.board.clear();
    quiet.change(off);
    EXPECT_FALSE(quiet.keep(kRound));
    EXPECT_EQ(quiet.status().kind, BoardStatusKind::Off);
}

TEST(Outbox, RoundsInOrderHalfWrittenOnesIgnoredAndTokensReplaced) {
    TempGameDir dir;
    const Outbox box(OutboxFolder(dir.dir()));
    EXPECT_TRUE(box.rounds().empty());  // no folder yet
    std::string a, b;
    ASSERT_TRUE(box.put("first", &a));
    ASSERT_TRUE(box.put("second", &b));
    dir.write("outbox/round-0-half.dat.tmp", "half");
    const auto rounds = box.rounds();
    ASSERT_EQ(rounds.size(), 2u);
    EXPECT_EQ(rounds[0], a);
    EXPECT_EQ(rounds[1], b);
    std::string text;
    ASSERT_TRUE(box.read(b, text));
    EXPECT_EQ(text, "second");
    ASSERT_TRUE(box.remove(a));
    EXPECT_EQ(box.rounds().size(), 1u);

    // One line per board and name; a new token replaces the old. A file
    // (or a temporary one left behind) readable by all becomes the
    // player's alone.
    dir.write("board_token.txt", "http://c:3 zed old\n");
    dir.write("board_token.txt.tmp", "left behind");
    ::chmod((dir.path / "board_token.txt").c_str(), 0644);
    ::chmod((dir.path / "board_token.txt.tmp").c_str(), 0666);
    ASSERT_TRUE(KeepBoardToken(dir.dir(), "http://a:1", "ann", "one"));
    struct stat info {};
    ASSERT_EQ(::stat((dir.path / "board_token.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadBoardToken(dir.dir(), "http://c:3", "zed"), "old");
    ASSERT_TRUE(KeepBoardToken(dir.dir(), "http://b:2", "ann", "two"));
    ASSERT_TRUE(KeepBoardToken(dir.dir(), "http://a:1", "ann", "three"));
    EXPECT_EQ(ReadBoardToken(dir.dir(), "http://a:1", "ann"), "three");
    EXPECT_EQ(ReadBoardToken(dir.dir(), "http://b:2", "ann"), "two");
    EXPECT_EQ(ReadBoardToken(dir.dir(), "http://a:1", "bob"), "");
    EXPECT_FALSE(KeepBoardToken(dir.dir(), "http://a:1", "ann", "with space"));
    EXPECT_EQ(ReadBoardToken(dir.dir(), "http://a:1", "ann"), "three");
    // A file too large to be read whole is not replaced by one line.
    const std::string huge(300 * 1024, '#');
    dir.write("board_token.txt", huge);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(KeepBoardToken(dir.dir(), "http://a:1", "ann", "four"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("too large"), std::string::npos);
    EXPECT_EQ(dir.read("board_token.txt"), huge);
}

}  // namespace
}  // namespace mervox
