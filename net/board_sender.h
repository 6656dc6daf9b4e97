// Sending finished rounds to the score board in the background. A round is
// first kept in the outbox (on the caller's thread, whole, atomically), then
// a thread of the sender's own sends what the outbox holds and asks for
// each verdict. The caller only ever takes a copy of the status under a
// lock the thread holds for a few assignments: a frame never waits for the
// network.
//
// A verdict (verified, rejected, failed) removes the round from the
// outbox. No answer (board away, a timeout, garbage, 429, 503) keeps it,
// and the thread tries again after a wait that doubles each time, up to a
// few minutes (or as long as Retry-After says), at once when another round
// is kept, and at the next start. A board that refuses the name (401)
// stops the sending until the settings change, the round kept; one that
// refuses the recording itself (400, 413) moves it to outbox/refused, where
// it stays for the player to see.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "net/board_api.h"
#include "net/outbox.h"

namespace mervox {

struct BoardSettings {
    std::string board;    // the board's address, canonical; empty: nothing is ever sent
    std::string player;   // the name rounds are sent under
    bool sending = true;  // off: rounds are neither kept nor sent
    std::string baseDir;  // the player's folder: the outbox and the token
};

// Whether rounds go to a board with these settings.
bool SendsToBoard(const BoardSettings& s);

struct SendTiming {
    int firstWaitMs = 5000;      // after the first exchange with no answer
    int longestWaitMs = 300000;  // the waits double up to this
    int firstPollMs = 250;       // between asking for a verdict, doubling
    int longestPollMs = 5000;
    BoardLimits limits;
};

enum class BoardStatusKind {
    Off,       // no board set, or sending off
    Idle,      // nothing sent yet in this run, nothing kept
    Sending,   // a round is on its way or waits for its verdict
    Verified,  // the last round sent was verified
    Waiting,   // rounds kept, the board did not answer
    Refused,   // the board refused the last round, or the name
};

struct BoardStatus {
    BoardStatusKind kind = BoardStatusKind::Off;
    int kept = 0;        // rounds in the outbox
    int64_t score = -1;  // Verified: the round's score, level and standing
    int level = -1;
    int rank = 0;
    int total = 0;
    std::string reason;  // Refused: the board's words; Waiting: what went wrong
    std::string copiedFrom;  // Verified: left off the board, its opening copied
    BoardFault cause = BoardFault::None;  // Waiting: why there was no answer
    bool nameRefused = false;             // Refused: the name, not the round
    unsigned verdicts = 0;  // counts every verdict received in this run
    unsigned attempts = 0;  // counts every exchange tried
};

// The status as one English line: "board: verified — 12th of 340".
std::string DescribeBoardStatus(const BoardStatus& s);

class BoardSender {
public:
    explicit BoardSender(BoardSettings settings, SendTiming timing = {});
    ~BoardSender();
    BoardSender(const BoardSender&) = delete;
    BoardSender& operator=(const BoardSender&) = delete;

    // Starts the thread, which sends what the outbox already holds.
    void start();
    // Ends the thread; an exchange under way is cut short, its round kept.
    void stop();

    // Keeps a finished round in the outbox and wakes the thread. False when
    // rounds are not sent, or it could not be written (said on stderr).
    bool keep(const std::string& recording);

    // New settings (sending turned off or on, another board or name); the
    // thread starts over with them.
    void change(const BoardSettings& settings);

    // Tries again now, without waiting out the wait.
    void nudge();

    BoardStatus status() const;
    BoardSettings settings() const;

private:
    enum class Sent { Answered, NoAnswer, NameRefused, Stopped };
    void run();
    Sent sendOne(const BoardSettings& s, const Outbox& outbox, const std::string& name, long& retryAfter);
    // The steps of sendOne: the round sent and its verdict awaited, and
    // what each outcome leaves in the status.
    Sent awaitVerdict(const BoardApi& api, int64_t id, const Outbox& outbox, const std::string& name, int kept,
                      long& retryAfter);
    Sent noteUnreadable();
    Sent noteNoAnswer(const BoardError& e, int kept, long& retryAfter);
    void noteRefused(const std::string& reason, int keptNow, bool nameRefused);
    void noteVerdict(const Submission& v, int kept);
    void setStatus(const BoardStatus& s);
    void updateKept(int kept);
    bool sleepFor(int ms, bool wakeOnNudge);  // false when stopping

    SendTiming timing_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    BoardSettings settings_;
    unsigned settingsSerial_ = 0;
    bool nudged_ = false;
    BoardStatus status_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace mervox
