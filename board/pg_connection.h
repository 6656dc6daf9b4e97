#pragma once
// One connection to PostgreSQL through libpq, for one thread at a time.
// Every value reaches the server as a bound parameter ($1, $2, ...), never
// as text pasted into the statement.

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mervox::board {

// The values of one statement's parameters, in order.
class PgParams {
public:
    PgParams& text(std::string_view v) {
        values_.emplace_back(std::string(v));
        return *this;
    }
    PgParams& integer(int64_t v) {
        values_.emplace_back(std::to_string(v));
        return *this;
    }
    PgParams& null() {
        values_.emplace_back(std::nullopt);
        return *this;
    }
    const std::vector<std::optional<std::string>>& values() const { return values_; }

private:
    std::vector<std::optional<std::string>> values_;
};

// The result of one statement; owns its PGresult.
class PgResult {
public:
    PgResult() = default;
    PgResult(PGresult* r, std::string error);
    PgResult(PgResult&& o) noexcept;
    PgResult& operator=(PgResult&& o) noexcept;
    PgResult(const PgResult&) = delete;
    PgResult& operator=(const PgResult&) = delete;
    ~PgResult();

    // Commands and queries that succeeded.
    bool ok() const;
    // The server's message when not ok().
    const std::string& error() const { return error_; }
    // The five-character SQLSTATE of a failure ("" when none).
    std::string sqlstate() const;
    bool uniqueViolation() const { return sqlstate() == "23505"; }

    int rows() const;
    bool isNull(int row, int col) const;
    std::string text(int row, int col) const;
    int64_t integer(int row, int col) const;
    // Rows an UPDATE, INSERT or DELETE changed.
    int64_t affected() const;
    // The command's tag: "COMMIT", or "ROLLBACK" for a COMMIT of a
    // transaction a failed statement had already spoilt.
    std::string command() const;

private:
    PGresult* r_ = nullptr;
    std::string error_;
};

class PgConnection {
public:
    // Connects to url (postgresql://...). nullptr, with the reason in
    // *error, when the server cannot be reached.
    static std::unique_ptr<PgConnection> Open(const std::string& url, std::string* error);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    PgResult exec(const char* sql, const PgParams& params = PgParams());
    // Several statements without parameters (the schema).
    PgResult script(const char* sql);

    // Reconnects when the connection has broken; true when it is usable.
    bool healthy();

    // Subscribes to a notification channel (a fixed name of this program's).
    bool listen(const char* channel);
    // Waits up to timeoutMs for a notification; true when one came. Any
    // queued notifications are consumed.
    bool waitForNotification(int timeoutMs);

private:
    explicit PgConnection(PGconn* c) : c_(c) {}
    PGconn* c_;
    std::vector<std::string> channels_;
};

// Rolls back unless commit() succeeds first.
class PgTransaction {
public:
    explicit PgTransaction(PgConnection& c);
    ~PgTransaction();
    bool begun() const { return begun_; }
    bool commit();

private:
    PgConnection& c_;
    bool begun_ = false;
    bool done_ = false;
};

}  // namespace mervox::board
