// The score board's HTTP interface as the game uses it: sending a
// recording, asking for its verdict, the best rounds, a player's standing,
// and a ranked round's recording. Every answer is read as untrusted text:
// a body that is not the JSON expected is a fault with a sentence saying
// so, never a crash.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "net/http_call.h"

namespace mervox {

// The longest recording the board takes and the game downloads.
constexpr size_t kBoardRecordingLimit = 256 * 1024;

// What kept an exchange from giving what was asked.
enum class BoardFault {
    None,
    Unreachable,  // no connection, a timeout, stopped: try again later
    Busy,         // 429 or 503: try again after `retryAfter`
    NotUnderstood,  // an answer that is not the board's (garbage, too large, an odd status)
    Refused,      // the board said no (400, 401, 404, 413); `message` says why
};

struct BoardError {
    BoardFault fault = BoardFault::None;
    long status = 0;       // the HTTP status when there was one
    long retryAfter = -1;  // seconds, for Busy
    std::string message;   // a sentence for the player
};

// "http://host:port" made canonical (no trailing slash); false when the
// text is not an http or https address.
bool ParseBoardAddress(const std::string& text, std::string& base);

struct SubmitResult {
    BoardError error;
    int64_t id = 0;       // the submission's number (also on a 409: the earlier one)
    bool alreadySent = false;  // 409: the same key changes were sent before
    std::string token;    // given on a name's first submission
};

struct Submission {
    BoardError error;
    int64_t id = 0;
    std::string name;
    std::string state;   // pending, running, verified, rejected, failed
    int64_t score = -1;  // -1 until verified
    int level = -1;
    int frames = -1;
    std::string reason;
    std::string copiedFrom;  // verified but left off the board: whose opening it copies
    int rank = 0;   // 0 when not ranked
    int total = 0;
    bool finished() const { return state == "verified" || state == "rejected" || state == "failed"; }
};

struct BoardEntry {
    int rank = 0;
    std::string name;
    int64_t score = 0;
    int level = 0;
    int frames = 0;
    int64_t id = 0;
};

struct ScoresPage {
    BoardError error;
    int total = 0;
    std::vector<BoardEntry> scores;
};

struct PlayerStanding {
    BoardError error;   // Refused with status 404: the board knows no such name
    int rank = 0;
    int total = 0;
    bool hasBest = false;
    BoardEntry best;
};

struct RecordingDownload {
    BoardError error;
    std::string text;  // the recording, checked by the game's reader
};

// The limits every board exchange runs with; tests shorten them.
struct BoardLimits {
    long connectMs = 3000;
    long totalMs = 15000;
};

class BoardApi {
public:
    explicit BoardApi(std::string base, BoardLimits limits = {}, const std::atomic<bool>* stop = nullptr)
        : base_(std::move(base)), limits_(limits), stop_(stop) {}

    SubmitResult submit(const std::string& name, const std::string& token, const std::string& recording) const;
    Submission submission(int64_t id) const;
    ScoresPage scores(int limit, int offset) const;
    PlayerStanding player(const std::string& name) const;
    RecordingDownload recording(int64_t id) const;

private:
    HttpAnswer call(const std::string& path, bool post, const std::string& body,
                    const std::vector<std::string>& headers, size_t maxBody) const;
    std::string base_;
    BoardLimits limits_;
    const std::atomic<bool>* stop_;
};

// The readers of the answers' bodies, apart from the exchange (the tests
// feed them damaged text).
SubmitResult ReadSubmitAnswer(const HttpAnswer& a);
Submission ReadSubmissionAnswer(const HttpAnswer& a);
ScoresPage ReadScoresAnswer(const HttpAnswer& a);
PlayerStanding ReadPlayerAnswer(const HttpAnswer& a);
RecordingDownload ReadRecordingAnswer(const HttpAnswer& a);

// "12th", "1st", "22nd", "113th".
std::string Ordinal(int n);

}  // namespace mervox
