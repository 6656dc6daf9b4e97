#include "board/pg_connection.h"

#include <poll.h>

#include <cstdlib>
#include <utility>

namespace mervox::board {

PgResult::PgResult(PGresult* r, std::string error) : r_(r), error_(std::move(error)) {}

PgResult::PgResult(PgResult&& o) noexcept : r_(std::exchange(o.r_, nullptr)), error_(std::move(o.error_)) {}

PgResult& PgResult::operator=(PgResult&& o) noexcept {
    if (this != &o) {
        if (r_ != nullptr) PQclear(r_);
        r_ = std::exchange(o.r_, nullptr);
        error_ = std::move(o.error_);
    }
    return *this;
}

PgResult::~PgResult() {
    if (r_ != nullptr) PQclear(r_);
}

bool PgResult::ok() const {
    if (r_ == nullptr) return false;
    const ExecStatusType s = PQresultStatus(r_);
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

std::string PgResult::sqlstate() const {
    if (r_ == nullptr) return "";
    const char* s = PQresultErrorField(r_, PG_DIAG_SQLSTATE);
    return s == nullptr ? "" : s;
}

int PgResult::rows() const { return ok() ? PQntuples(r_) : 0; }

bool PgResult::isNull(int row, int col) const { return PQgetisnull(r_, row, col) != 0; }

std::string PgResult::text(int row, int col) const {
    return std::string(PQgetvalue(r_, row, col), static_cast<size_t>(PQgetlength(r_, row, col)));
}

int64_t PgResult::integer(int row, int col) const {
    if (isNull(row, col)) return 0;
    return std::strtoll(PQgetvalue(r_, row, col), nullptr, 10);
}

int64_t PgResult::affected() const {
    if (r_ == nullptr) return 0;
    const char* n = PQcmdTuples(r_);
    return (n == nullptr || *n == '\0') ? 0 : std::strtoll(n, nullptr, 10);
}

std::string PgResult::command() const {
    if (r_ == nullptr) return "";
    const char* c = PQcmdStatus(r_);
    return c == nullptr ? "" : c;
}

std::unique_ptr<PgConnection> PgConnection::Open(const std::string& url, std::string* error) {
    PGconn* c = PQconnectdb(url.c_str());
    if (c == nullptr) {
        *error = "out of memory connecting to PostgreSQL";
        return nullptr;
    }
    if (PQstatus(c) != CONNECTION_OK) {
        *error = PQerrorMessage(c);
        while (!error->empty() && error->back() == '\n') error->pop_back();
        PQfinish(c);
        return nullptr;
    }
    // Notices (such as "relation already exists, skipping") are not news.
    PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
    return std::unique_ptr<PgConnection>(new PgConnection(c));
}

PgConnection::~PgConnection() { PQfinish(c_); }

PgResult PgConnection::exec(const char* sql, const PgParams& params) {
    const auto& values = params.values();
    std::vector<const char*> ptrs;
    ptrs.reserve(values.size());
    for (const auto& v : values) ptrs.push_back(v ? v->c_str() : nullptr);
    PGresult* r = PQexecParams(c_, sql, static_cast<int>(ptrs.size()), nullptr, ptrs.data(), nullptr, nullptr, 0);
    std::string error;
    if (r == nullptr || (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)) {
        error = r != nullptr ? PQresultErrorMessage(r) : PQerrorMessage(c_);
        while (!error.empty() && error.back() == '\n') error.pop_back();
    }
    return PgResult(r, std::move(error));
}

PgResult PgConnection::script(const char* sql) {
    PGresult* r = PQexec(c_, sql);
    std::string error;
    if (r == nullptr || (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)) {
        error = r != nullptr ? PQresultErrorMessage(r) : PQerrorMessage(c_);
        while (!error.empty() && error.back() == '\n') error.pop_back();
    }
    return PgResult(r, std::move(error));
}

bool PgConnection::healthy() {
    if (PQstatus(c_) == CONNECTION_OK) return true;
    PQreset(c_);
    if (PQstatus(c_) != CONNECTION_OK) return false;
    // A new session listens to nothing yet.
    for (const auto& ch : channels_) {
        std::string sql = "LISTEN " + ch;
        PgResult r = script(sql.c_str());
        if (!r.ok()) return false;
    }
    return true;
}

bool PgConnection::listen(const char* channel) {
    char* quoted = PQescapeIdentifier(c_, channel, std::char_traits<char>::length(channel));
    if (quoted == nullptr) return false;
    const std::string sql = std::string("LISTEN ") + quoted;
    PQfreemem(quoted);
    if (!script(sql.c_str()).ok()) return false;
    channels_.push_back(sql.substr(7));
    return true;
}

bool PgConnection::waitForNotification(int timeoutMs) {
    auto drain = [this] {
        bool any = false;
        while (PGnotify* n = PQnotifies(c_)) {
            any = true;
            PQfreemem(n);
        }
        return any;
    };
    PQconsumeInput(c_);
    if (drain()) return true;
    const int fd = PQsocket(c_);
    if (fd < 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return false;
    if (PQconsumeInput(c_) == 0) return false;
    return drain();
}

PgTransaction::PgTransaction(PgConnection& c) : c_(c) { begun_ = c_.script("BEGIN").ok(); }

PgTransaction::~PgTransaction() {
    if (begun_ && !done_) c_.script("ROLLBACK");
}

bool PgTransaction::commit() {
    if (!begun_ || done_) return false;
    done_ = true;
    PgResult r = c_.script("COMMIT");
    return r.ok() && r.command() == "COMMIT";
}

}  // namespace mervox::board
