#include "board/sqlite_storage.h"

#include <sqlite3.h>

#include <ctime>
#include <string>
#include <variant>
#include <vector>

#include "board/board_sql.h"

namespace mervox::board {

namespace {

// A value bound to one of a statement's $N parameters.
using Value = std::variant<std::nullptr_t, int64_t, std::string>;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            throw StorageError(std::string("the database refused a statement: ") + sqlite3_errmsg(db));
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(stmt_); }

    // Binds the values to $1, $2, ... in order, by name.
    void Bind(const std::vector<Value>& values) {
        for (size_t k = 0; k < values.size(); ++k) {
            const std::string name = "$" + std::to_string(k + 1);
            const int index = sqlite3_bind_parameter_index(stmt_, name.c_str());
            if (index == 0) continue;  // not used by this statement
            int rc = SQLITE_OK;
            if (const auto* i = std::get_if<int64_t>(&values[k]))
                rc = sqlite3_bind_int64(stmt_, index, *i);
            else if (const auto* s = std::get_if<std::string>(&values[k]))
                rc = sqlite3_bind_text(stmt_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
            else
                rc = sqlite3_bind_null(stmt_, index);
            if (rc != SQLITE_OK) throw StorageError(std::string("binding a value failed: ") + sqlite3_errmsg(db_));
        }
    }

    // True while a row is there to read.
    bool Step() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw StorageError(std::string("the database failed: ") + sqlite3_errmsg(db_));
    }

    int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
    bool IsNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }
    std::string Text(int col) const {
        const auto* p = sqlite3_column_text(stmt_, col);
        if (p == nullptr) return {};
        return std::string(reinterpret_cast<const char*>(p), static_cast<size_t>(sqlite3_column_bytes(stmt_, col)));
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteStorage final : public Storage {
public:
    explicit SqliteStorage(sqlite3* db) : db_(db) {}
    ~SqliteStorage() override { sqlite3_close(db_); }

    void Exec(const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message ? message : "unknown failure";
            sqlite3_free(message);
            throw StorageError("the database failed: " + text);
        }
    }

    // Runs a statement that returns nothing.
    void Run(const char* sql, const std::vector<Value>& values = {}) {
        Statement st(db_, sql);
        st.Bind(values);
        while (st.Step()) {
        }
    }

    int64_t Count(const char* sql, const std::vector<Value>& values = {}) {
        Statement st(db_, sql);
        st.Bind(values);
        return st.Step() ? st.Int(0) : 0;
    }

    // One transaction around `body`: committed when it returns, rolled back
    // when it throws. Writers take the write lock at once.
    template <typename Body>
    auto Transaction(bool write, Body&& body) {
        Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
        try {
            if constexpr (std::is_void_v<decltype(body())>) {
                body();
                Exec("COMMIT");
            } else {
                auto result = body();
                Exec("COMMIT");
                return result;
            }
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    int SchemaVersion() override {
        Exec(sql::kMetaTable);
        Statement st(db_, sql::kReadVersion);
        if (!st.Step()) return 0;
        return std::stoi(st.Text(0));
    }

    void Migrate() override {
        Transaction(true, [&] {
            Exec(sql::kMetaTable);
            Statement st(db_, sql::kReadVersion);
            const int found = st.Step() ? std::stoi(st.Text(0)) : 0;
            if (found > kSchemaVersion)
                throw StorageError("the database was written by a newer mervox-board (schema " +
                                   std::to_string(found) + ")");
            if (found < 1) {
                Exec(sql::kPlayerTable);
                Exec(sql::kPlayerRankIndex);
                Exec((std::string("CREATE TABLE submission (id INTEGER PRIMARY KEY AUTOINCREMENT,") +
                      sql::kSubmissionColumns)
                         .c_str());
                Exec(sql::kSubmissionQueueIndex);
                Exec(sql::kSubmissionNameIndex);
                Exec(sql::kSubmissionLatestIndex);
            }
            Run(sql::kInitRanked, {std::string("0")});
            // Later versions add their steps here, each from the one before.
            Run(sql::kWriteVersion, {std::to_string(kSchemaVersion)});
        });
    }

    SubmitResult Submit(const NewSubmission& s, const std::string& tokenHash, const std::string& newTokenHash,
                        int64_t maxQueued) override {
        return Transaction(true, [&] {
            SubmitResult r;
            bool known = false;
            {
                Statement st(db_, sql::kPlayerToken);
                st.Bind({s.nameKey});
                if (st.Step()) {
                    known = true;
                    if (st.Text(0) != tokenHash) {
                        r.outcome = SubmitOutcome::WrongToken;
                        return r;
                    }
                }
            }
            {
                Statement st(db_, sql::kSubmissionByDigest);
                st.Bind({s.digest});
                if (st.Step()) {
                    r.outcome = SubmitOutcome::Duplicate;
                    r.id = st.Int(0);
                    return r;
                }
            }
            if (Count(sql::kQueueDepth) >= maxQueued) {
                r.outcome = SubmitOutcome::QueueFull;
                return r;
            }
            const int64_t now = Now();
            if (!known) Run(sql::kInsertPlayer, {s.nameKey, s.name, newTokenHash, now});
            Statement st(db_, sql::kInsertSubmission);
            st.Bind({s.nameKey, s.digest, s.recording, int64_t{s.records}, s.address, now});
            if (!st.Step()) throw StorageError("the new submission got no id");
            r.id = st.Int(0);
            r.outcome = known ? SubmitOutcome::Accepted : SubmitOutcome::AcceptedNewName;
            return r;
        });
    }

    std::optional<Job> ClaimJob(const std::string& owner, int leaseSeconds) override {
        return Transaction(true, [&]() -> std::optional<Job> {
            const int64_t now = Now();
            Run(sql::kGiveUpJobs, {now, int64_t{kMaxAttempts}, std::string(kGaveUpReason)});
            Job job;
            {
                Statement st(db_, (std::string(sql::kClaimJobHead) + sql::kClaimJobTail).c_str());
                st.Bind({owner, now, int64_t{leaseSeconds}});
                if (!st.Step()) return std::nullopt;
                job.id = st.Int(0);
                job.nameKey = st.Text(1);
                job.recording = st.Text(2);
                job.attempts = static_cast<int>(st.Int(3));
            }
            Statement name(db_, sql::kPlayerName);
            name.Bind({job.nameKey});
            if (name.Step()) job.name = name.Text(0);
            return job;
        });
    }

    bool FinishJob(int64_t id, const std::string& owner, const Verdict& v) override {
        return Transaction(true, [&] {
            std::string nameKey;
            {
                Statement st(db_, sql::kFinishJob);
                st.Bind({id, owner, std::string(JobStateName(v.state)), v.score, int64_t{v.level},
                         int64_t{v.frames}, int64_t{v.cleared}, v.reason, v.simVersion, v.copiedFrom,
                         int64_t{v.sharedUpdates}, Now()});
                if (!st.Step()) return false;
                nameKey = st.Text(0);
            }
            UpdateBest(nameKey);
            return true;
        });
    }

    void UpdateBest(const std::string& nameKey) {
        const int64_t before = Count(sql::kIsRanked, {nameKey});
        Statement st(db_, sql::kBestOfName);
        st.Bind({nameKey});
        const bool ranked = st.Step();
        if (ranked)
            Run(sql::kSetBest, {nameKey, st.Int(0), st.Int(1), st.Int(2)});
        else
            Run(sql::kSetBest, {nameKey, nullptr, int64_t{0}, int64_t{0}});
        if ((ranked ? 1 : 0) != before) Run(sql::kAddRanked, {int64_t{ranked ? 1 : -1}});
    }

    bool ReleaseJob(int64_t id, const std::string& owner) override {
        return Transaction(true, [&] {
            Run(sql::kReleaseJob, {id, owner, Now()});
            return sqlite3_changes(db_) > 0;
        });
    }

    int64_t RequeueVerified() override {
        return Transaction(true, [&] {
            Run(sql::kRequeueVerified);
            return static_cast<int64_t>(sqlite3_changes(db_));
        });
    }

    int64_t QueueDepth() override { return Count(sql::kQueueDepth); }

    static SubmissionRow ReadRow(const Statement& st) {
        SubmissionRow r;
        r.id = st.Int(0);
        r.name = st.Text(1);
        ParseJobState(st.Text(2), r.state);
        r.score = st.Int(3);
        r.level = static_cast<int>(st.Int(4));
        r.frames = static_cast<int>(st.Int(5));
        r.cleared = static_cast<int>(st.Int(6));
        r.reason = st.Text(7);
        r.copiedFrom = st.Text(8);
        r.simVersion = st.Text(9);
        r.submittedAt = st.Int(10);
        r.verifiedAt = st.Int(11);
        if (!st.IsNull(12) && r.state != JobState::Pending && r.state != JobState::Running) {
            r.previousScore = st.Int(13);
            r.changed = st.Text(12) != JobStateName(r.state) || r.previousScore != r.score;
        }
        return r;
    }

    std::vector<SubmissionRow> Rows(const char* sql, const std::vector<Value>& values) {
        Statement st(db_, sql);
        st.Bind(values);
        std::vector<SubmissionRow> rows;
        while (st.Step()) rows.push_back(ReadRow(st));
        return rows;
    }

    std::optional<SubmissionRow> Submission(int64_t id) override {
        auto rows = Rows(sql::kSubmissionById, {id});
        if (rows.empty()) return std::nullopt;
        return rows.front();
    }

    void RankOfNameHere(const std::string& nameKey, int64_t& rank, int64_t& total) {
        rank = 0;
        total = Count(sql::kRankedCount);
        Statement st(db_, sql::kPlayerBest);
        st.Bind({nameKey});
        if (!st.Step() || st.IsNull(1)) return;
        rank = 1 + Count(sql::kNamesAhead, {st.Int(2), st.Int(3), st.Int(1)});
    }

    void RankOfName(const std::string& nameKey, int64_t& rank, int64_t& total) override {
        Transaction(false, [&] { RankOfNameHere(nameKey, rank, total); });
    }

    ScorePage Scores(int limit, int offset) override {
        return Transaction(false, [&] {
            ScorePage page;
            page.total = Count(sql::kRankedCount);
            auto rows = Rows(sql::kScores, {int64_t{limit}, int64_t{offset}});
            int64_t rank = offset;
            for (auto& row : rows) page.scores.push_back(ScoreEntry{++rank, std::move(row)});
            return page;
        });
    }

    std::optional<PlayerPage> Player(const std::string& nameKey, int limit) override {
        return Transaction(false, [&]() -> std::optional<PlayerPage> {
            PlayerPage page;
            int64_t bestId = 0;
            {
                Statement st(db_, sql::kPlayerBest);
                st.Bind({nameKey});
                if (!st.Step()) return std::nullopt;
                page.name = st.Text(0);
                if (!st.IsNull(1)) bestId = st.Int(1);
            }
            RankOfNameHere(nameKey, page.rank, page.total);
            if (bestId != 0) {
                auto best = Rows(sql::kSubmissionById, {bestId});
                if (!best.empty()) page.best = best.front();
            }
            page.rounds = Rows(sql::kRoundsOfName, {nameKey, int64_t{limit}});
            return page;
        });
    }

    std::vector<SubmissionRow> Latest(int limit) override { return Rows(sql::kLatest, {int64_t{limit}}); }

    std::optional<std::string> VerifiedRecording(int64_t id) override {
        Statement st(db_, sql::kVerifiedRecording);
        st.Bind({id});
        if (!st.Step()) return std::nullopt;
        return st.Text(0);
    }

    std::vector<BoardRecording> TopRecordings(int n) override {
        Statement st(db_, sql::kTopRecordings);
        st.Bind({int64_t{n}});
        std::vector<BoardRecording> out;
        while (st.Step()) out.push_back(BoardRecording{st.Int(0), st.Text(1), st.Text(2), st.Text(3)});
        return out;
    }

private:
    sqlite3* db_;
};

}  // namespace

std::unique_ptr<Storage> OpenSqliteStorage(const std::string& path, std::string& error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    auto storage = std::make_unique<SqliteStorage>(db);
    try {
        // Readers never wait for the writer in WAL mode; writers wait for
        // each other up to the busy timeout. FULL: an accepted submission is
        // on the disk before its answer leaves.
        sqlite3_busy_timeout(db, 10000);
        storage->Exec("PRAGMA journal_mode=WAL");
        storage->Exec("PRAGMA synchronous=FULL");
        storage->Exec("PRAGMA foreign_keys=ON");
    } catch (const StorageError& e) {
        error = "cannot open " + path + ": " + e.what();
        return nullptr;
    }
    return storage;
}

}  // namespace mervox::board
