#include "net/board_api.h"

#include <nlohmann/json.hpp>

#include <memory>

#include "save/input_log_file.h"

namespace mervox {

namespace {

using Json = nlohmann::json;

constexpr size_t kAnswerLimit = 1024 * 1024;  // the board's JSON answers are a few KiB

// The body read as JSON with exceptions off: a discarded value when it is not.
Json ParseBody(const std::string& body) { return Json::parse(body, nullptr, false); }

int64_t IntField(const Json& j, const char* key, int64_t fallback) {
    if (!j.is_object()) return fallback;
    const auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer()) return fallback;
    return it->get<int64_t>();
}

int SmallIntField(const Json& j, const char* key, int fallback) {
    const int64_t v = IntField(j, key, fallback);
    return v < -1000000000 || v > 1000000000 ? fallback : static_cast<int>(v);
}

std::string TextField(const Json& j, const char* key) {
    if (!j.is_object()) return "";
    const auto it = j.find(key);
    if (it == j.end() || !it->is_string()) return "";
    return it->get<std::string>();
}

BoardError NotUnderstood(const HttpAnswer& a, const std::string& what) {
    BoardError e;
    e.fault = BoardFault::NotUnderstood;
    e.status = a.status;
    e.message = "the board's answer was not understood (" + what + ")";
    return e;
}

// The fault of an exchange that gave no usable answer, or of a status
// outside the ones `wanted`; None when the answer has one of them.
BoardError ErrorOf(const HttpAnswer& a, std::initializer_list<long> wanted) {
    BoardError e;
    e.status = a.status;
    switch (a.outcome) {
        case HttpOutcome::Unreachable:
            e.fault = BoardFault::Unreachable;
            e.message = "the board did not answer (" + a.error + ")";
            return e;
        case HttpOutcome::Stopped:
            e.fault = BoardFault::Unreachable;
            e.message = "the exchange with the board was stopped";
            return e;
        case HttpOutcome::TooLarge:
            return NotUnderstood(a, a.error);
        case HttpOutcome::Answered: break;
    }
    for (long w : wanted)
        if (a.status == w) return e;
    if (a.status == 429 || a.status == 503) {
        e.fault = BoardFault::Busy;
        e.retryAfter = a.retryAfter;
        e.message = a.status == 429 ? "the board asks to wait before sending again" : "the board is busy";
        return e;
    }
    const Json j = ParseBody(a.body);
    const std::string said = TextField(j, "error");
    if (a.status == 400 || a.status == 401 || a.status == 404 || a.status == 409 || a.status == 413) {
        e.fault = BoardFault::Refused;
        e.message = !said.empty() ? said
                    : a.status == 413 ? "the recording is too long for the board"
                    : a.status == 404 ? "the board knows no such thing"
                                      : "the board refused it (HTTP " + std::to_string(a.status) + ")";
        return e;
    }
    return NotUnderstood(a, "HTTP " + std::to_string(a.status) + (said.empty() ? "" : ": " + said));
}

// The answer as a JSON object, or false with `error` set: the board was not
// reached, refused, or answered something that is not an object.
bool AnswerObject(const HttpAnswer& a, std::initializer_list<long> wanted, BoardError& error, Json& j) {
    error = ErrorOf(a, wanted);
    if (error.fault != BoardFault::None) return false;
    j = ParseBody(a.body);
    if (j.is_discarded() || !j.is_object()) {
        error = NotUnderstood(a, "not JSON");
        return false;
    }
    return true;
}

BoardEntry ReadEntry(const Json& j) {
    BoardEntry e;
    e.rank = SmallIntField(j, "rank", 0);
    e.name = TextField(j, "name");
    e.score = IntField(j, "score", 0);
    e.level = SmallIntField(j, "level", 0);
    e.frames = SmallIntField(j, "frames", 0);
    e.id = IntField(j, "id", 0);
    return e;
}

}  // namespace

bool ParseBoardAddress(const std::string& text, std::string& base) {
    std::string t = text;
    while (!t.empty() && t.back() == '/') t.pop_back();
    size_t host = 0;
    if (t.rfind("http://", 0) == 0) host = 7;
    else if (t.rfind("https://", 0) == 0) host = 8;
    else return false;
    if (t.size() <= host) return false;
    for (size_t i = host; i < t.size(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(t[i]);
        if (ch <= ' ' || ch >= 127 || ch == '?' || ch == '#' || ch == '@' || ch == '\\') return false;
    }
    base = t;
    return true;
}

SubmitResult ReadSubmitAnswer(const HttpAnswer& a) {
    SubmitResult r;
    r.error = ErrorOf(a, {202, 200, 201});
    if (r.error.fault == BoardFault::Refused && a.status == 409) {
        // The same rounds sent before (a send cut short after the board took
        // it): its verdict is the earlier submission's.
        const Json j = ParseBody(a.body);
        r.id = IntField(j, "id", 0);
        if (r.id > 0) {
            r.alreadySent = true;
            r.error = BoardError{};
        }
        return r;
    }
    if (r.error.fault != BoardFault::None) return r;
    const Json j = ParseBody(a.body);
    if (j.is_discarded() || !j.is_object()) {
        r.error = NotUnderstood(a, "not JSON");
        return r;
    }
    r.id = IntField(j, "id", 0);
    r.token = TextField(j, "token");
    if (r.id <= 0) r.error = NotUnderstood(a, "no submission number");
    return r;
}

Submission ReadSubmissionAnswer(const HttpAnswer& a) {
    Submission s;
    Json j;
    if (!AnswerObject(a, {200}, s.error, j)) return s;
    s.id = IntField(j, "id", 0);
    s.name = TextField(j, "name");
    s.state = TextField(j, "state");
    s.score = IntField(j, "score", -1);
    s.level = SmallIntField(j, "level", -1);
    s.frames = SmallIntField(j, "frames", -1);
    s.reason = TextField(j, "reason");
    s.copiedFrom = TextField(j, "copied_from");
    s.rank = SmallIntField(j, "rank", 0);
    s.total = SmallIntField(j, "total", 0);
    const bool known = s.state == "pending" || s.state == "running" || s.finished();
    if (!known) s.error = NotUnderstood(a, "no known state");
    else if (s.state == "verified" && s.score < 0) s.error = NotUnderstood(a, "a verified round without a score");
    return s;
}

ScoresPage ReadScoresAnswer(const HttpAnswer& a) {
    ScoresPage p;
    Json j;
    if (!AnswerObject(a, {200}, p.error, j)) return p;
    p.total = SmallIntField(j, "total", 0);
    const auto it = j.find("scores");
    if (it == j.end() || !it->is_array()) {
        p.error = NotUnderstood(a, "no list of scores");
        return p;
    }
    for (const Json& e : *it)
        if (e.is_object()) p.scores.push_back(ReadEntry(e));
    return p;
}

PlayerStanding ReadPlayerAnswer(const HttpAnswer& a) {
    PlayerStanding s;
    Json j;
    if (!AnswerObject(a, {200}, s.error, j)) return s;
    s.rank = SmallIntField(j, "rank", 0);
    s.total = SmallIntField(j, "total", 0);
    const auto best = j.find("best");
    if (best != j.end() && best->is_object()) {
        s.hasBest = true;
        s.best = ReadEntry(*best);
    }
    return s;
}

RecordingDownload ReadRecordingAnswer(const HttpAnswer& a) {
    RecordingDownload d;
    d.error = ErrorOf(a, {200});
    if (d.error.fault != BoardFault::None) return d;
    auto log = std::make_unique<InputRecord[]>(kInputLogLength);
    if (ParseInputLog(a.body, log.get()) == 0) {
        d.error = NotUnderstood(a, "not a recording");
        return d;
    }
    d.text = a.body;
    return d;
}

HttpAnswer BoardApi::call(const std::string& path, bool post, const std::string& body,
                          const std::vector<std::string>& headers, size_t maxBody) const {
    HttpCall c;
    c.url = base_ + path;
    c.post = post;
    c.body = body;
    c.headers = headers;
    c.limits.connectMs = limits_.connectMs;
    c.limits.totalMs = limits_.totalMs;
    c.limits.maxBody = maxBody;
    c.stop = stop_;
    return PerformHttp(c);
}

SubmitResult BoardApi::submit(const std::string& name, const std::string& token, const std::string& recording) const {
    std::vector<std::string> headers;
    if (!token.empty()) headers.push_back("X-Mervox-Token: " + token);
    return ReadSubmitAnswer(
        call("/api/v1/submissions?name=" + EscapeUrlPart(name), true, recording, headers, kAnswerLimit));
}

Submission BoardApi::submission(int64_t id) const {
    return ReadSubmissionAnswer(call("/api/v1/submissions/" + std::to_string(id), false, "", {}, kAnswerLimit));
}

ScoresPage BoardApi::scores(int limit, int offset) const {
    return ReadScoresAnswer(call("/api/v1/scores?limit=" + std::to_string(limit) + "&offset=" + std::to_string(offset),
                                 false, "", {}, kAnswerLimit));
}

PlayerStanding BoardApi::player(const std::string& name) const {
    return ReadPlayerAnswer(call("/api/v1/players/" + EscapeUrlPart(name), false, "", {}, kAnswerLimit));
}

RecordingDownload BoardApi::recording(int64_t id) const {
    return ReadRecordingAnswer(call("/recordings/" + std::to_string(id) + ".dat", false, "", {}, kBoardRecordingLimit));
}

std::string Ordinal(int n) {
    const int lastTwo = n % 100;
    const int last = n % 10;
    const char* suffix = (lastTwo >= 11 && lastTwo <= 13) ? "th"
                         : last == 1                      ? "st"
                         : last == 2                      ? "nd"
                         : last == 3                      ? "rd"
                                                          : "th";
    return std::to_string(n) + suffix;
}

}  // namespace mervox
