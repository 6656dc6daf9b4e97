// The whole program on the null platform against a real mervox-board on
// 127.0.0.1: a game played from the keyboard to its end is kept in the
// outbox, sent, and verified with the score the game showed; with the board
// away the game stays in the outbox and goes at the next start once the
// board is back; a sender killed mid-send leaves it there too.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "../net/fake_board.h"
#include "../save/save_test_dir.h"
#include "app/desktop/program.h"
#include "app/soak/null_platform.h"
#include "game/key_bits.h"
#include "net/board_api.h"
#include "net/board_sender.h"
#include "net/board_token.h"
#include "net/outbox.h"
#include "real_board.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;
using mervox_test::RealBoard;
using mervox_test::TempGameDir;

// Z on the title starts one game, erratic keys play it until its clock runs
// out; back on the title the player waits (in real time, a bounded while)
// for `settled` to say the board is done, then closes the window.
struct BoardPlayer {
    NullPlatform* n = nullptr;
    std::string outbox;
    RunModeValue lastRunMode = RunTitle;
    long updates = 0;          // round updates seen so far
    int32_t lastFrame = 0;
    bool gameEnded = false;
    uint32_t gameScore = 0;
    int waits = 0;
    int waitLimit = 3000;  // of 10 ms: thirty seconds
    bool (*settled)(const BoardPlayer& p) = nullptr;
};

bool OutboxEmpty(const BoardPlayer& p) { return Outbox(p.outbox).rounds().empty(); }

// Z on the title until the game starts, then keys that change every nine
// round updates, so the same round is played however the passes fall.
InputFrame PlayerKeys(const BoardPlayer& p, uint32_t ms) {
    if (p.updates == 0 && p.lastRunMode == RunTitle)
        return (ms >= 1000 && ms < 1100) ? HoldingKeys({HostKey::Kick}) : InputFrame{};
    if (p.gameEnded || p.lastRunMode != RunGame) return InputFrame{};
    static constexpr int32_t kChoices[] = {0, KeyLeft, KeyRight, KeyUp, KeyDown, KeyKick, KeyJump,
                                           KeyTurnQ, KeyLeft | KeyUp, KeyRight | KeyKick, KeyTurnE};
    const uint32_t h = static_cast<uint32_t>(p.updates / 9) * 2654435761u;
    return FrameHoldingBits(kChoices[(h >> 16) % (sizeof kChoices / sizeof kChoices[0])]);
}

void AfterPass(BoardPlayer& p, const GameState& g) {
    if (g.RunMode == RunGame && g.RoundFrame != p.lastFrame) p.updates += 1;
    p.lastFrame = g.RoundFrame;
    if (p.lastRunMode == RunGame && g.RunMode == RunTitle && !p.gameEnded) {
        p.gameEnded = true;
        p.gameScore = g.Score;
    }
    p.lastRunMode = g.RunMode;
    if (!p.gameEnded || p.n->closeAtMs != 400000) return;
    if ((p.settled != nullptr && p.settled(p)) || ++p.waits > p.waitLimit) {
        p.n->closeAtMs = p.n->clock + 1;
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

struct GameRun {
    bool ended = false;
    uint32_t score = 0;
};

// One start of the program in `dir` (its options.txt already written);
// plays a game unless `play` is false, in which case it only waits on the
// title for `settled`.
GameRun RunProgramWithBoard(const std::string& dir, bool play, bool (*settled)(const BoardPlayer&),
                            int waitLimit = 3000) {
    NullPlatform n;
    BoardPlayer p;
    p.n = &n;
    p.outbox = OutboxFolder(dir);
    p.settled = settled;
    p.waitLimit = waitLimit;
    p.gameEnded = !play;
    n.keys = [&p](uint32_t ms) { return PlayerKeys(p, ms); };
    n.closeAtMs = 400000;
    SendTiming quick;
    quick.firstWaitMs = 100;
    quick.longestWaitMs = 400;
    quick.firstPollMs = 20;
    quick.longestPollMs = 100;
    ProgramRun run;
    run.baseDir = dir;
    run.sound = false;
    run.afterPass = [&p](const GameState& g) { AfterPass(p, g); };
    run.boardTiming = &quick;
    EXPECT_EQ(RunProgramOn(NullPlatformHooks(n), run), 0);
    return GameRun{p.gameEnded && play, p.gameScore};
}

void WriteOptions(const TempGameDir& dir, const std::string& board) {
    dir.write("options.txt", "board = " + board + "\nplayer = kim\n");
}

TEST(GameOnTheBoard, AGamePlayedToItsEndIsVerifiedWithTheScoreTheGameShowed) {
    TempGameDir dir;
    RealBoard board(dir.dir(), mervox_test::ClosedLoopbackPort());
    ASSERT_TRUE(board.running());
    WriteOptions(dir, board.base());
    const GameRun game = RunProgramWithBoard(dir.dir(), true, OutboxEmpty);
    ASSERT_TRUE(game.ended);
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());

    const PlayerStanding kim = BoardApi(board.base()).player("kim");
    ASSERT_EQ(kim.error.fault, BoardFault::None) << kim.error.message;
    ASSERT_TRUE(kim.hasBest);
    EXPECT_EQ(kim.best.score, static_cast<int64_t>(game.score));
    EXPECT_EQ(kim.rank, 1);
    EXPECT_FALSE(ReadBoardToken(dir.dir(), board.base(), "kim").empty());
}

TEST(GameOnTheBoard, WithTheBoardAwayTheGameIsKeptAndGoesWhenItIsBack) {
    TempGameDir dir;
    const int port = mervox_test::ClosedLoopbackPort();
    WriteOptions(dir, "http://127.0.0.1:" + std::to_string(port));
    // Half a second on the title after the game: a few tries, no answer.
    const GameRun game = RunProgramWithBoard(dir.dir(), true, nullptr, 50);
    ASSERT_TRUE(game.ended);
    ASSERT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 1u);

    // The next start, with the board there: sent from the title.
    RealBoard board(dir.dir(), port);
    ASSERT_TRUE(board.running());
    RunProgramWithBoard(dir.dir(), false, OutboxEmpty);
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());
    const PlayerStanding kim = BoardApi(board.base()).player("kim");
    ASSERT_EQ(kim.error.fault, BoardFault::None) << kim.error.message;
    ASSERT_TRUE(kim.hasBest);
    EXPECT_EQ(kim.best.score, static_cast<int64_t>(game.score));
}

// The sending half of the program in a process of its own, for the test
// below to kill: it sends the outbox of MERVOX_TEST_SEND_DIR to
// MERVOX_TEST_SEND_BOARD and waits to be killed.
TEST(GameOnTheBoardChild, SendsTheOutboxUntilKilled) {
    const char* dir = std::getenv("MERVOX_TEST_SEND_DIR");
    const char* board = std::getenv("MERVOX_TEST_SEND_BOARD");
    if (dir == nullptr || board == nullptr) GTEST_SKIP() << "run by KilledWhileSendingTheGameStaysInTheOutbox";
    BoardSettings s;
    s.board = board;
    s.player = "kim";
    s.baseDir = dir;
    BoardSender sender(s);
    sender.start();
    std::this_thread::sleep_for(std::chrono::seconds(30));
    ADD_FAILURE() << "not killed";
}

TEST(GameOnTheBoard, KilledWhileSendingTheGameStaysInTheOutbox) {
    TempGameDir dir;
    std::ifstream in(std::string(MERVOX_SOURCE_DIR) + "/tests/app/data/bot_round.dat", std::ios::binary);
    const std::string round((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(round.empty());
    ASSERT_TRUE(Outbox(OutboxFolder(dir.dir())).put(round));

    // A board that takes the recording and holds its answer back.
    mervox_test::FakeBoard slow;
    std::atomic<bool> received{false};
    slow.onAnyRequest([&](const httplib::Request&, httplib::Response& r) {
        received = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(3000));
        r.status = 503;
    });
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string filter = "--gtest_filter=GameOnTheBoardChild.*";
    const std::string envDir = "MERVOX_TEST_SEND_DIR=" + dir.dir();
    const std::string envBoard = "MERVOX_TEST_SEND_BOARD=" + slow.base();
    char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>(filter.c_str()), nullptr};
    char* envp[] = {const_cast<char*>(envDir.c_str()), const_cast<char*>(envBoard.c_str()), nullptr};
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::execve(argv[0], argv, envp);
        ::_exit(127);
    }
    for (int i = 0; i < 1000 && !received; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(received.load()) << "the sender never reached the board";
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 1u);

    // The next start sends it to a board that answers.
    RealBoard board(dir.dir(), mervox_test::ClosedLoopbackPort());
    ASSERT_TRUE(board.running());
    BoardSettings s;
    s.board = board.base();
    s.player = "kim";
    s.baseDir = dir.dir();
    BoardSender sender(s);
    sender.start();
    for (int i = 0; i < 3000 && sender.status().verdicts == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(sender.status().kind, BoardStatusKind::Verified) << DescribeBoardStatus(sender.status());
    EXPECT_TRUE(Outbox(OutboxFolder(dir.dir())).rounds().empty());
}

bool BoardAsked(const BoardPlayer&);
std::atomic<int>* gAsked = nullptr;
bool BoardAsked(const BoardPlayer&) { return gAsked != nullptr && gAsked->load() > 0; }

TEST(GameOnTheBoard, ABoardAnsweringGarbageHugeOrNeverNeitherHoldsNorLosesTheGame) {
    enum class Way { Garbage, Huge, HeldBack };
    for (Way way : {Way::Garbage, Way::Huge, Way::HeldBack}) {
        TempGameDir dir;
        mervox_test::FakeBoard board;
        std::atomic<int> asked{0};
        std::atomic<bool> release{false};
        std::atomic<bool> programDone{false};
        std::atomic<bool> answeredAfterTheProgram{false};
        board.onAnyRequest([&](const httplib::Request&, httplib::Response& r) {
            asked += 1;
            if (way == Way::Garbage) {
                r.status = 202;
                r.set_content("\x7f\x45LF garbage", "application/json");
            } else if (way == Way::Huge) {
                r.status = 202;
                r.set_content(std::string(10 * 1024 * 1024, ' '), "application/json");
            } else {
                // Held until the program has ended (or twenty seconds).
                for (int i = 0; i < 2000 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
                answeredAfterTheProgram = programDone.load();
                r.status = 503;
            }
        });
        WriteOptions(dir, board.base());
        gAsked = &asked;
        const GameRun game = RunProgramWithBoard(dir.dir(), true, BoardAsked);
        gAsked = nullptr;
        programDone = true;
        release = true;
        ASSERT_TRUE(game.ended);
        EXPECT_GT(asked.load(), 0);
        // The game is kept for a board that answers.
        EXPECT_EQ(Outbox(OutboxFolder(dir.dir())).rounds().size(), 1u) << static_cast<int>(way);
        if (way == Way::HeldBack) {
            // The program closed while the board still held its answer: it
            // never waited for it.
            for (int i = 0; i < 500 && !answeredAfterTheProgram; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_TRUE(answeredAfterTheProgram.load());
        }
    }
}

}  // namespace
}  // namespace mervox
