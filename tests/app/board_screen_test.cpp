// The board screen against boards of the test's own on 127.0.0.1: it
// opens only on an idle title, lists what the board answers without the
// title's updates waiting, moves its cursor over the rows, and hands over
// the chosen round's recording; a board answering garbage, a recording too
// large or not a recording leaves it open with a message. And the status
// line's words in both languages.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "../net/fake_board.h"
#include "app/board/board_screen.h"
#include "app/board/board_words.h"
#include "game/simulation.h"

namespace mervox {
namespace {

using mervox_test::FakeBoard;

// The screen's keys held in one pass.
struct Keys {
    bool down[kBoardScreenKeyCount] = {};
    ActionFrame frame() const {
        ActionFrame f;
        for (int i = 0; i < kBoardScreenKeyCount; ++i)
            if (down[i]) f.hold(kBoardScreenActions[i]);
        return f;
    }
};
int KeyOf(ControlAction a) {
    for (int i = 0; i < kBoardScreenKeyCount; ++i)
        if (kBoardScreenActions[i] == a) return i;
    return -1;
}

void ServeTwoRounds(FakeBoard& board, const std::string& recording) {
    board.onAnyRequest([recording](const httplib::Request& q, httplib::Response& r) {
        if (q.path == "/api/v1/scores")
            FakeBoard::Json(r, 200,
                            R"({"total":2,"scores":[{"rank":1,"name":"bob","score":900,"level":8,"id":21},)"
                            R"({"rank":2,"name":"ann","score":300,"level":3,"id":22}]})");
        else if (q.path == "/api/v1/players/ann")
            FakeBoard::Json(r, 200, R"({"name":"ann","rank":2,"total":2,"best":{"rank":2,"score":300,"level":3,"id":22}})");
        else if (q.path == "/recordings/22.dat")
            r.set_content(recording, "text/plain");
        else
            FakeBoard::Json(r, 404, R"({"error":"no such round"})");
    });
}

struct ScreenRun {
    BoardScreen s;
    BoardSettings settings;
    Keys k;
    std::string chosen;
    explicit ScreenRun(const std::string& board) {
        settings.board = board;
        settings.player = "ann";
        s.limits.totalMs = 2000;
    }
    bool update(bool idle = true) { return UpdateBoardScreen(s, settings, idle, k.frame(), chosen); }
    bool tap(ControlAction a) {
        k.down[KeyOf(a)] = true;
        const bool held = update();
        k.down[KeyOf(a)] = false;
        return held && update();
    }
    // Updates (as the title would, 60 a second) until the fetcher is done.
    BoardFetcher::View settle() {
        for (int i = 0; i < 1000; ++i) {
            update();
            const BoardFetcher::View v = s.fetcher->view();
            if (v.state != BoardFetcher::State::Working && !v.downloading) return v;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return s.fetcher->view();
    }
};

TEST(BoardScreen, ListsTheBoardMovesOverItsRowsAndHandsOverTheChosenRecording) {
    FakeBoard board;
    ServeTwoRounds(board, "00010001\r\n00050000\r\n");
    ScreenRun r(board.base());

    // Not during a fade or a chosen start.
    r.k.down[KeyOf(ControlAction::Board)] = true;
    EXPECT_FALSE(r.update(false));
    EXPECT_FALSE(r.s.open);
    r.k.down[KeyOf(ControlAction::Board)] = false;
    EXPECT_FALSE(r.update());
    EXPECT_TRUE(r.tap(ControlAction::Board));
    ASSERT_TRUE(r.s.open);
    const BoardFetcher::View v = r.settle();
    ASSERT_EQ(v.state, BoardFetcher::State::Listed) << v.message;
    ASSERT_EQ(v.page.scores.size(), 2u);
    EXPECT_TRUE(v.hasMe);
    EXPECT_EQ(v.me.best.score, 300);

    // Down, down wraps to the top, up wraps to the bottom.
    r.tap(ControlAction::MenuDown);
    EXPECT_EQ(r.s.row, 1);
    r.tap(ControlAction::MenuDown);
    EXPECT_EQ(r.s.row, 0);
    r.tap(ControlAction::MenuUp);
    EXPECT_EQ(r.s.row, 1);
    r.tap(ControlAction::MenuChange);
    r.settle();
    for (int i = 0; i < 10 && r.chosen.empty(); ++i) r.update();
    EXPECT_EQ(r.chosen, "00010001\r\n00050000\r\n");
    EXPECT_FALSE(r.s.open);

    // The recording starts as a played-back game; the settings stay.
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    g->HighScores[0] = 4321;
    ASSERT_TRUE(StartBoardRecording(*g, r.chosen));
    EXPECT_EQ(g->RunMode, RunGame);
    EXPECT_TRUE(PlaysBack(*g));
    EXPECT_EQ(g->InputLog[1].frame, 50);
    EXPECT_EQ(g->HighScores[0], 4321u);
    g->RunMode = RunTitle;
    EXPECT_FALSE(StartBoardRecording(*g, "<html>no</html>"));
    EXPECT_EQ(g->RunMode, RunTitle);
}

TEST(BoardScreen, BadBoardsAndBadRecordingsLeaveItOpenWithAMessage) {
    struct Case {
        const char* what;
        std::string recording;
    };
    const Case cases[] = {
        {"not a recording", "<html>a page</html>"},
        {"too large", std::string(300 * 1024, '0')},
    };
    for (const Case& c : cases) {
        FakeBoard board;
        ServeTwoRounds(board, c.recording);
        ScreenRun r(board.base());
        r.tap(ControlAction::Board);
        r.settle();
        r.tap(ControlAction::MenuDown);
        r.tap(ControlAction::MenuChange);
        const BoardFetcher::View v = r.settle();
        EXPECT_TRUE(r.s.open) << c.what;
        EXPECT_TRUE(r.chosen.empty()) << c.what;
        EXPECT_NE(v.message.find("not understood"), std::string::npos) << c.what << ": " << v.message;
    }

    FakeBoard garbage;
    garbage.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        r.status = 200;
        r.set_content("{\"total\": [", "application/json");
    });
    ScreenRun r(garbage.base());
    r.tap(ControlAction::Board);
    const BoardFetcher::View v = r.settle();
    EXPECT_EQ(v.state, BoardFetcher::State::Failed);
    EXPECT_FALSE(v.message.empty());
    // Escape closes it, and the title waits for the key to go up.
    EXPECT_TRUE(r.tap(ControlAction::MenuBack));
    EXPECT_FALSE(r.s.open);
    EXPECT_FALSE(r.update());
}

TEST(BoardWords, TheStatusLineInBothLanguages) {
    BoardStatus s;
    EXPECT_TRUE(BoardStatusWords(s, TextLanguage::English).empty());
    EXPECT_TRUE(BoardStatusWords(s, TextLanguage::Japanese).empty());
    s.kind = BoardStatusKind::Verified;
    s.rank = 12;
    s.total = 340;
    EXPECT_EQ(BoardStatusWords(s, TextLanguage::English), u"board: verified \u2014 12th of 340");
    EXPECT_EQ(BoardStatusWords(s, TextLanguage::Japanese), u"ボード: 確認済み \u2014 340人中12位");
    s.kind = BoardStatusKind::Waiting;
    s.kept = 2;
    s.cause = BoardFault::Unreachable;
    s.reason = "the board did not answer";
    EXPECT_EQ(BoardStatusWords(s, TextLanguage::English), u"board: waiting \u2014 2 games kept, the board did not answer");
    EXPECT_NE(BoardStatusWords(s, TextLanguage::Japanese).find(u"2ゲーム"), std::u16string::npos);
    s.kind = BoardStatusKind::Refused;
    s.nameRefused = true;
    s.reason = "the name belongs to someone else";
    EXPECT_EQ(BoardStatusWords(s, TextLanguage::English), u"board: refused \u2014 the name belongs to someone else");
    EXPECT_EQ(BoardStatusWords(s, TextLanguage::Japanese).find(u"the name"), std::u16string::npos);

    // The board's own words are drawn as they are, bad bytes and control
    // characters made harmless, long ones cut.
    EXPECT_EQ(WordsFromUtf8("caf\xc3\xa9 \xf0\x9f\x8e\xae"), u"café \U0001F3AE");
    EXPECT_EQ(WordsFromUtf8("a\xff" "b\xc3"), u"a\uFFFDb\uFFFD");
    EXPECT_EQ(WordsFromUtf8("\xe0\x80\xaf"), u"\uFFFD\uFFFD\uFFFD");  // an overlong '/'
    EXPECT_EQ(WordsFromUtf8("a\nb\x1b"), u"a b ");
    EXPECT_EQ(WordsFromUtf8(std::string(100, 'x'), 10), std::u16string(10, u'x') + u"\u2026");
}

}  // namespace
}  // namespace mervox
