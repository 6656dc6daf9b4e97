// Where the board keeps its names, submissions and results: one small
// interface, one implementation per database (SQLite in board/sqlite_storage,
// PostgreSQL beside it).
//
// A Storage is one connection: it is used by one thread at a time. Every
// call is one transaction (a writer takes its lock at the start, BEGIN
// IMMEDIATE on SQLite), so a call either happens whole or not at all. Every
// value reaches the database as a bound parameter. Times are Unix seconds
// (UTC) taken from the backend's clock.
//
// The queue lives in the submission table itself:
//   pending --claim--> running --finish--> verified | rejected
//                         |  lease runs out: claimable again
//                         '- claimed kMaxAttempts times without finishing: failed
// A claim takes the oldest claimable job with a lease (owner, expiry) and
// counts an attempt; the finish is written only while the same owner still
// holds an unexpired lease, so a worker that stalled past its lease cannot
// overwrite the result of the one that took the job over. On PostgreSQL the
// claim is one UPDATE ... WHERE id = (SELECT ... FOR UPDATE SKIP LOCKED).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace mervox::board {

// The schema this program writes; Migrate brings any older database to it.
constexpr int kSchemaVersion = 1;

// A job claimed this often without a finish is given up (state "failed").
constexpr int kMaxAttempts = 3;
constexpr const char* kGaveUpReason = "the recording stopped its verifier three times";

enum class JobState { Pending, Running, Verified, Rejected, Failed };

// "pending", "running", "verified", "rejected", "failed": the words stored
// in the database and shown in the JSON answers.
const char* JobStateName(JobState s);
// The state a stored word names; false for any other word.
bool ParseJobState(const std::string& word, JobState& out);

// A submission as it is accepted, already checked and brought to its
// canonical form by board/recording_check.h.
struct NewSubmission {
    std::string name;        // as the player typed it (shown)
    std::string nameKey;     // lower case: names compare without case
    std::string recording;   // canonical text, one "%05d%03d\r\n" line a record
    std::string digest;      // hex SHA-256 of the canonical key changes
    int records = 0;
    std::string address;     // the submitter's network address (kept for moderation)
};

enum class SubmitOutcome {
    Accepted,        // queued under a name that already existed, token matched
    AcceptedNewName, // queued, and the name was made with the new token's hash
    WrongToken,      // the name exists and the token hash does not match
    Duplicate,       // the same key changes were submitted before (existingId)
    QueueFull,       // too many jobs waiting: nothing stored
};

struct SubmitResult {
    SubmitOutcome outcome = SubmitOutcome::QueueFull;
    int64_t id = 0;          // the new submission (Accepted*) or the first one (Duplicate)
};

// What the verifier found, written by FinishJob.
struct Verdict {
    JobState state = JobState::Rejected;  // Verified or Rejected
    int64_t score = 0;
    int level = 0;
    int frames = 0;
    int cleared = 0;
    std::string reason;       // empty when verified
    std::string simVersion;
    std::string copiedFrom;   // "" or who/what the opening was taken from
    int sharedUpdates = 0;    // the longest opening shared with another round
};

// A claimed job: what the verifier needs.
struct Job {
    int64_t id = 0;
    std::string name;
    std::string nameKey;
    std::string recording;
    int attempts = 0;         // including this claim
};

// One row as the pages and the JSON answers show it.
struct SubmissionRow {
    int64_t id = 0;
    std::string name;
    JobState state = JobState::Pending;
    int64_t score = 0;        // these four mean something only when verified
    int level = 0;
    int frames = 0;
    int cleared = 0;
    std::string reason;
    std::string copiedFrom;
    std::string simVersion;
    int64_t submittedAt = 0;
    int64_t verifiedAt = 0;   // 0 until finished
    // Set when a re-verification found a different result than before.
    bool changed = false;
    int64_t previousScore = 0;
};

// The main board: each name's best verified round whose opening was not
// copied, by score (higher first), then frames (fewer first), then id.
struct ScoreEntry {
    int64_t rank = 0;         // 1-based
    SubmissionRow round;
};

struct ScorePage {
    int64_t total = 0;        // names on the board
    std::vector<ScoreEntry> scores;
};

struct PlayerPage {
    std::string name;
    int64_t rank = 0;         // 0: not on the board
    int64_t total = 0;
    std::optional<SubmissionRow> best;
    std::vector<SubmissionRow> rounds;  // latest first
};

// A round on the board, for the copied-opening comparison.
struct BoardRecording {
    int64_t id = 0;
    std::string name;
    std::string nameKey;
    std::string recording;
};

class Storage {
public:
    virtual ~Storage() = default;

    // The schema version found in the database (after Migrate: kSchemaVersion).
    virtual int SchemaVersion() = 0;
    // Creates the tables or upgrades them to kSchemaVersion, in one
    // transaction. Refuses (throws StorageError) a database newer than this program.
    virtual void Migrate() = 0;

    // In one transaction: the name is made with newTokenHash when unknown
    // (AcceptedNewName), or its stored hash must equal tokenHash
    // (WrongToken otherwise); a submission with the same digest wins
    // (Duplicate); more than maxQueued jobs pending or running refuses
    // (QueueFull); otherwise the submission is stored as pending.
    virtual SubmitResult Submit(const NewSubmission& s, const std::string& tokenHash,
                                const std::string& newTokenHash, int64_t maxQueued) = 0;

    // Claims the oldest pending job, or a running one whose lease ran out,
    // for `owner` for leaseSeconds. Jobs whose lease ran out after
    // kMaxAttempts claims are marked failed first. nullopt: nothing to do.
    virtual std::optional<Job> ClaimJob(const std::string& owner, int leaseSeconds) = 0;

    // Writes the verdict when `owner` still holds the job's lease, and keeps
    // the name's best round up to date. False (nothing written) when the
    // lease was lost.
    virtual bool FinishJob(int64_t id, const std::string& owner, const Verdict& v) = 0;

    // Hands a claimed job back unfinished (a clean shutdown): pending again,
    // this attempt not counted. False when the lease was no longer held.
    virtual bool ReleaseJob(int64_t id, const std::string& owner) = 0;

    // Queues every verified round again (a new simulation version); their
    // results are kept as the previous ones to show any change. Returns how many.
    virtual int64_t RequeueVerified() = 0;

    // Jobs pending or running.
    virtual int64_t QueueDepth() = 0;

    virtual std::optional<SubmissionRow> Submission(int64_t id) = 0;
    // Where a name's best round stands: rank 0 when the name is not on the board.
    virtual void RankOfName(const std::string& nameKey, int64_t& rank, int64_t& total) = 0;
    virtual ScorePage Scores(int limit, int offset) = 0;
    virtual std::optional<PlayerPage> Player(const std::string& nameKey, int limit) = 0;
    // The latest submissions of every name, newest first.
    virtual std::vector<SubmissionRow> Latest(int limit) = 0;
    // The recording of a verified round.
    virtual std::optional<std::string> VerifiedRecording(int64_t id) = 0;
    // The recordings of the first n rounds of the main board.
    virtual std::vector<BoardRecording> TopRecordings(int n) = 0;

    // An idle worker's wait: returns when a job may have come (true) or
    // after timeoutMs (false). PostgreSQL wakes it by a notification sent
    // with each new job; without such news this simply waits.
    virtual bool WaitForJobs(int timeoutMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return false;
    }
};

// A database failure the caller cannot repair (the message says what).
struct StorageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Opens a connection: a path (SQLite) or postgresql://... . Does not
// migrate. nullptr with `error` set when the database cannot be opened.
std::unique_ptr<Storage> OpenStorage(const std::string& url, std::string& error);

// OpenStorage, then Migrate: nullptr with `error` set when either fails.
std::unique_ptr<Storage> OpenMigratedStorage(const std::string& url, std::string& error);

}  // namespace mervox::board
