#include "net/board_sender.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "net/board_token.h"

namespace mervox {

namespace {

constexpr int kForeverMs = 24 * 3600 * 1000;

const char* ShortCause(BoardFault f) {
    switch (f) {
        case BoardFault::Busy: return "the board is busy";
        case BoardFault::NotUnderstood: return "the board's answer was not understood";
        default: return "the board did not answer";
    }
}

}  // namespace

bool SendsToBoard(const BoardSettings& s) { return !s.board.empty() && !s.player.empty() && s.sending; }

std::string DescribeBoardStatus(const BoardStatus& s) {
    const std::string kept = std::to_string(s.kept) + (s.kept == 1 ? " game kept" : " games kept");
    switch (s.kind) {
        case BoardStatusKind::Off: return "board: off";
        case BoardStatusKind::Idle: return s.kept > 0 ? "board: " + kept : "board: ready";
        case BoardStatusKind::Sending: return "board: sending \u2014 " + kept;
        case BoardStatusKind::Verified:
            if (!s.copiedFrom.empty()) return "board: verified \u2014 not ranked, its opening is copied";
            return s.rank > 0 ? "board: verified \u2014 " + Ordinal(s.rank) + " of " + std::to_string(s.total)
                              : "board: verified";
        case BoardStatusKind::Waiting: return "board: waiting \u2014 " + kept + ", " + s.reason;
        case BoardStatusKind::Refused: return "board: refused \u2014 " + s.reason;
    }
    return "board:";
}

BoardSender::BoardSender(BoardSettings settings, SendTiming timing)
    : timing_(timing), settings_(std::move(settings)) {
    status_.kind = SendsToBoard(settings_) ? BoardStatusKind::Idle : BoardStatusKind::Off;
}

BoardSender::~BoardSender() { stop(); }

void BoardSender::start() {
    if (thread_.joinable()) return;
    stop_ = false;
    StartNetwork();
    thread_ = std::thread([this] { run(); });
}

void BoardSender::stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool BoardSender::keep(const std::string& recording) {
    BoardSettings s = settings();
    if (!SendsToBoard(s)) return false;
    if (!Outbox(OutboxFolder(s.baseDir)).put(recording)) return false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        nudged_ = true;
        status_.kept += 1;
    }
    wake_.notify_all();
    return true;
}

void BoardSender::change(const BoardSettings& settings) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        settings_ = settings;
        settingsSerial_ += 1;
        nudged_ = true;
        if (!SendsToBoard(settings_)) status_.kind = BoardStatusKind::Off;
        else if (status_.kind == BoardStatusKind::Off) status_.kind = BoardStatusKind::Idle;
    }
    wake_.notify_all();
}

void BoardSender::nudge() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        nudged_ = true;
    }
    wake_.notify_all();
}

BoardStatus BoardSender::status() const {
    std::lock_guard<std::mutex> hold(lock_);
    return status_;
}

BoardSettings BoardSender::settings() const {
    std::lock_guard<std::mutex> hold(lock_);
    return settings_;
}

void BoardSender::setStatus(const BoardStatus& s) {
    std::lock_guard<std::mutex> hold(lock_);
    const unsigned verdicts = status_.verdicts;
    const unsigned attempts = status_.attempts;
    status_ = s;
    status_.verdicts = std::max(verdicts, s.verdicts);
    status_.attempts = std::max(attempts, s.attempts);
}

void BoardSender::updateKept(int kept) {
    std::lock_guard<std::mutex> hold(lock_);
    status_.kept = kept;
}

bool BoardSender::sleepFor(int ms, bool wakeOnNudge) {
    std::unique_lock<std::mutex> hold(lock_);
    wake_.wait_for(hold, std::chrono::milliseconds(ms), [&] { return stop_.load() || (wakeOnNudge && nudged_); });
    return !stop_;
}

BoardSender::Sent BoardSender::noteUnreadable() {
    // Kept but unreadable (its permissions changed, say): it stays, and is
    // tried again later like a round the board did not answer for.
    BoardStatus w = status();
    w.kind = BoardStatusKind::Waiting;
    w.reason = "a kept round cannot be read";
    w.cause = BoardFault::None;
    setStatus(w);
    return Sent::NoAnswer;
}

BoardSender::Sent BoardSender::noteNoAnswer(const BoardError& e, int kept, long& retryAfter) {
    BoardStatus w = status();
    w.kind = BoardStatusKind::Waiting;
    w.kept = kept;
    w.reason = ShortCause(e.fault);
    w.cause = e.fault;
    setStatus(w);
    retryAfter = e.retryAfter;
    return Sent::NoAnswer;
}

void BoardSender::noteRefused(const std::string& reason, int keptNow, bool nameRefused) {
    BoardStatus r = status();
    r.kind = BoardStatusKind::Refused;
    r.kept = keptNow;
    r.reason = reason;
    r.nameRefused = false;
    setStatus(r);
    if (!nameRefused) return;
    BoardStatus named = status();
    named.nameRefused = true;
    setStatus(named);
}

void BoardSender::noteVerdict(const Submission& v, int kept) {
    BoardStatus done = status();
    done.kept = kept - 1;
    done.verdicts += 1;
    if (v.state == "verified") {
        done.kind = BoardStatusKind::Verified;
        done.score = v.score;
        done.level = v.level;
        done.rank = v.rank;
        done.total = v.total;
        done.copiedFrom = v.copiedFrom;
        done.reason.clear();
    } else {
        done.kind = BoardStatusKind::Refused;
        done.reason = !v.reason.empty() ? v.reason : "the board did not verify the round";
    }
    setStatus(done);
}

// Asks after the submission, waiting longer between questions, until the
// board has its verdict.
BoardSender::Sent BoardSender::awaitVerdict(const BoardApi& api, int64_t id, const Outbox& outbox,
                                            const std::string& name, int kept, long& retryAfter) {
    int poll = timing_.firstPollMs;
    for (;;) {
        const Submission v = api.submission(id);
        if (stop_) return Sent::Stopped;
        if (v.error.fault != BoardFault::None) return noteNoAnswer(v.error, kept, retryAfter);
        if (v.finished()) {
            outbox.remove(name);
            noteVerdict(v, kept);
            return Sent::Answered;
        }
        if (!sleepFor(poll, false)) return Sent::Stopped;
        poll = std::min(poll * 2, timing_.longestPollMs);
    }
}

BoardSender::Sent BoardSender::sendOne(const BoardSettings& s, const Outbox& outbox, const std::string& name,
                                       long& retryAfter) {
    std::string text;
    if (!outbox.read(name, text)) return noteUnreadable();
    BoardStatus st = status();
    const int kept = st.kept;
    st.kind = BoardStatusKind::Sending;
    st.nameRefused = false;
    st.attempts += 1;
    setStatus(st);

    const BoardApi api(s.board, timing_.limits, &stop_);
    const SubmitResult sent = api.submit(s.player, ReadBoardToken(s.baseDir, s.board, s.player), text);
    if (stop_) return Sent::Stopped;
    if (sent.error.fault == BoardFault::Refused) {
        if (sent.error.status == 401) {
            noteRefused(sent.error.message, kept, true);
            return Sent::NameRefused;
        }
        // The recording itself is refused: it would be every time.
        outbox.setAside(name);
        noteRefused(sent.error.message, kept - 1, false);
        return Sent::Answered;
    }
    if (sent.error.fault != BoardFault::None) return noteNoAnswer(sent.error, kept, retryAfter);
    if (!sent.token.empty()) KeepBoardToken(s.baseDir, s.board, s.player, sent.token);
    return awaitVerdict(api, sent.id, outbox, name, kept, retryAfter);
}

void BoardSender::run() {
    int waitMs = timing_.firstWaitMs;
    unsigned seenSerial = ~0u;
    bool nameRefused = false;
    while (!stop_) {
        BoardSettings s;
        unsigned serial = 0;
        {
            std::lock_guard<std::mutex> hold(lock_);
            s = settings_;
            serial = settingsSerial_;
            nudged_ = false;
        }
        if (serial != seenSerial) {
            seenSerial = serial;
            nameRefused = false;
            waitMs = timing_.firstWaitMs;
        }
        if (!SendsToBoard(s)) {
            sleepFor(kForeverMs, true);
            continue;
        }
        const Outbox outbox(OutboxFolder(s.baseDir));
        const std::vector<std::string> rounds = outbox.rounds();
        updateKept(static_cast<int>(rounds.size()));
        if (nameRefused || rounds.empty()) {
            sleepFor(kForeverMs, true);
            continue;
        }
        long retryAfter = -1;
        const Sent r = sendOne(s, outbox, rounds.front(), retryAfter);
        if (r == Sent::Stopped) break;
        if (r == Sent::Answered) {
            waitMs = timing_.firstWaitMs;
            continue;
        }
        if (r == Sent::NameRefused) {
            nameRefused = true;
            continue;
        }
        int ms = waitMs;
        if (retryAfter >= 0) ms = static_cast<int>(std::min<long>(retryAfter * 1000L, timing_.longestWaitMs));
        waitMs = std::min(waitMs * 2, timing_.longestWaitMs);
        sleepFor(ms, true);
    }
}

}  // namespace mervox
