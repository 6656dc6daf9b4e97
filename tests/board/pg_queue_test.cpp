// The queue on PostgreSQL as several machines see it: each worker its own
// connection, claims that never hand one job to two workers, leases that
// run out, notifications that wake idle workers, and first submissions
// under one name racing each other.
#ifdef MERVOX_BOARD_POSTGRES
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "board/pg_connection.h"
#include "board/pg_storage.h"
#include "board/storage.h"
#include "scratch_postgres.h"

namespace mervox::board {
namespace {

class PgQueue : public ::testing::Test {
protected:
    void SetUp() override {
        url_ = mervox_test::FreshPostgresDatabase();
        ASSERT_FALSE(url_.empty()) << mervox_test::ScratchPostgresError();
        main_ = Connect();
        ASSERT_TRUE(main_);
        main_->Migrate();
    }

    std::unique_ptr<Storage> Connect() {
        std::string error;
        auto s = OpenPgStorage(url_, error);
        EXPECT_TRUE(s) << error;
        return s;
    }

    // Straight SQL, for what no player or worker could do (ageing a lease).
    void Sql(const char* text, const PgParams& p = PgParams()) {
        std::string error;
        auto c = PgConnection::Open(url_, &error);
        ASSERT_TRUE(c) << error;
        PgResult r = c->exec(text, p);
        ASSERT_TRUE(r.ok()) << r.error();
    }

    static NewSubmission Round(const std::string& name, int n) {
        NewSubmission s;
        s.name = name;
        s.nameKey = name;
        for (auto& ch : s.nameKey) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        char line[32];
        std::snprintf(line, sizeof line, "%05d%03d\r\n", 10 + n, 1);
        s.recording = line;
        s.digest = "digest-" + name + "-" + std::to_string(n);
        s.records = 1;
        s.address = "127.0.0.1";
        return s;
    }

    int64_t SubmitOk(Storage& s, const std::string& name, int n) {
        SubmitResult r = s.Submit(Round(name, n), "h-" + name, "h-" + name, 100000);
        EXPECT_TRUE(r.outcome == SubmitOutcome::Accepted || r.outcome == SubmitOutcome::AcceptedNewName);
        return r.id;
    }

    static Verdict Verified(int64_t score) {
        Verdict v;
        v.state = JobState::Verified;
        v.score = score;
        v.level = 3;
        v.frames = 1000;
        v.cleared = 7;
        v.simVersion = "test";
        return v;
    }

    std::string url_;
    std::unique_ptr<Storage> main_;
};

TEST_F(PgQueue, ThreeWorkersShareThreeHundredJobsEachDoneOnce) {
    std::vector<int64_t> ids;
    for (int i = 0; i < 300; ++i) ids.push_back(SubmitOk(*main_, "name" + std::to_string(i % 7), i));
    std::mutex lock;
    std::map<int64_t, int> claims;
    std::map<int64_t, std::string> finishedBy;
    std::vector<std::thread> workers;
    for (int w = 0; w < 3; ++w) {
        workers.emplace_back([&, w] {
            auto s = Connect();
            const std::string owner = "worker-" + std::to_string(w);
            while (auto job = s->ClaimJob(owner, 60)) {
                {
                    std::lock_guard<std::mutex> hold(lock);
                    ++claims[job->id];
                }
                if (s->FinishJob(job->id, owner, Verified(job->id))) {
                    std::lock_guard<std::mutex> hold(lock);
                    finishedBy[job->id] = owner;
                }
            }
        });
    }
    for (auto& t : workers) t.join();
    ASSERT_EQ(claims.size(), 300u);
    for (const auto& [id, n] : claims) EXPECT_EQ(n, 1) << "job " << id << " was claimed " << n << " times";
    EXPECT_EQ(finishedBy.size(), 300u);
    std::set<std::string> owners;
    for (const auto& [id, owner] : finishedBy) owners.insert(owner);
    EXPECT_GE(owners.size(), 2u) << "one worker did everything: the others were locked out";
    EXPECT_EQ(main_->QueueDepth(), 0);
    // Each name's best is its highest score (the score is the id here).
    ScorePage page = main_->Scores(100, 0);
    ASSERT_EQ(page.total, 7);
    EXPECT_EQ(page.scores[0].round.score, ids.back());
    for (size_t i = 1; i < page.scores.size(); ++i)
        EXPECT_GT(page.scores[i - 1].round.score, page.scores[i].round.score);
}

TEST_F(PgQueue, ALeaseThatRunsOutPassesTheJobOnAndTheLateFinishIsDropped) {
    const int64_t id = SubmitOk(*main_, "ann", 1);
    auto a = Connect();
    auto b = Connect();
    auto jobA = a->ClaimJob("a", 60);
    ASSERT_TRUE(jobA);
    EXPECT_EQ(jobA->id, id);
    EXPECT_EQ(jobA->name, "ann");
    // Held: nobody else gets it.
    EXPECT_FALSE(b->ClaimJob("b", 60));
    Sql("UPDATE submission SET lease_until = lease_until - 120 WHERE id = $1", PgParams().integer(id));
    auto jobB = b->ClaimJob("b", 60);
    ASSERT_TRUE(jobB);
    EXPECT_EQ(jobB->id, id);
    EXPECT_EQ(jobB->attempts, 2);
    EXPECT_FALSE(a->FinishJob(id, "a", Verified(999))) << "a finish after the lease ran out was written";
    EXPECT_FALSE(a->ReleaseJob(id, "a"));
    EXPECT_TRUE(b->FinishJob(id, "b", Verified(5)));
    auto row = main_->Submission(id);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->state, JobState::Verified);
    EXPECT_EQ(row->score, 5);
    EXPECT_FALSE(b->FinishJob(id, "b", Verified(6))) << "a job was finished twice";
}

TEST_F(PgQueue, AJobThatKeepsKillingItsWorkerFailsAfterThreeAttempts) {
    const int64_t bad = SubmitOk(*main_, "ann", 1);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        auto job = main_->ClaimJob("w" + std::to_string(attempt), 60);
        ASSERT_TRUE(job);
        EXPECT_EQ(job->id, bad);
        EXPECT_EQ(job->attempts, attempt);
        Sql("UPDATE submission SET lease_until = lease_until - 120 WHERE id = $1", PgParams().integer(bad));
    }
    const int64_t good = SubmitOk(*main_, "bob", 2);
    auto next = main_->ClaimJob("w4", 60);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->id, good) << "the job was tried a fourth time";
    auto row = main_->Submission(bad);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->state, JobState::Failed);
    EXPECT_FALSE(row->reason.empty());
}

TEST_F(PgQueue, AReleasedJobIsTakenAgainWithoutCountingTheAttempt) {
    const int64_t id = SubmitOk(*main_, "ann", 1);
    auto job = main_->ClaimJob("a", 60);
    ASSERT_TRUE(job);
    EXPECT_FALSE(main_->ReleaseJob(id, "someone-else"));
    EXPECT_TRUE(main_->ReleaseJob(id, "a"));
    auto again = main_->ClaimJob("b", 60);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->id, id);
    EXPECT_EQ(again->attempts, 1);
}

TEST_F(PgQueue, AnIdleWorkerWakesOnANewJobFromAnotherConnection) {
    auto worker = Connect();
    // The first wait subscribes; nothing is queued yet.
    EXPECT_FALSE(worker->WaitForJobs(0));
    std::atomic<bool> woke{false};
    std::thread t([&] {
        // Bounded: a lost notification fails the check, it does not hang it.
        for (int i = 0; i < 100 && !woke; ++i) woke = worker->WaitForJobs(100);
    });
    SubmitOk(*main_, "ann", 1);
    t.join();
    EXPECT_TRUE(woke);
    auto job = worker->ClaimJob("w", 60);
    ASSERT_TRUE(job);
    // Nothing else was announced since.
    EXPECT_FALSE(worker->WaitForJobs(0));
}

TEST_F(PgQueue, FirstSubmissionsUnderOneNewNameRaceAndOneOwnsTheName) {
    constexpr int kRacers = 6;
    std::vector<SubmitResult> results(kRacers);
    std::vector<std::thread> racers;
    std::atomic<int> ready{0};
    for (int i = 0; i < kRacers; ++i) {
        racers.emplace_back([&, i] {
            auto s = Connect();
            ++ready;
            while (ready < kRacers) std::this_thread::yield();
            NewSubmission sub = Round("Racer", i);
            results[i] = s->Submit(sub, "token-" + std::to_string(i), "token-" + std::to_string(i), 1000);
        });
    }
    for (auto& t : racers) t.join();
    int owners = 0, refused = 0;
    for (const auto& r : results) {
        owners += r.outcome == SubmitOutcome::AcceptedNewName;
        refused += r.outcome == SubmitOutcome::WrongToken;
    }
    EXPECT_EQ(owners, 1);
    EXPECT_EQ(refused, kRacers - 1);
    EXPECT_EQ(main_->QueueDepth(), 1);
}

TEST_F(PgQueue, TheSameRecordingRacingItselfIsStoredOnce) {
    std::vector<SubmitResult> results(4);
    std::vector<std::thread> racers;
    for (int i = 0; i < 4; ++i) {
        racers.emplace_back([&, i] {
            auto s = Connect();
            NewSubmission sub = Round("same", 1);
            results[i] = s->Submit(sub, "h", "h", 1000);
        });
    }
    for (auto& t : racers) t.join();
    std::set<int64_t> ids;
    int accepted = 0;
    for (const auto& r : results) {
        accepted += r.outcome == SubmitOutcome::Accepted || r.outcome == SubmitOutcome::AcceptedNewName;
        EXPECT_NE(r.outcome, SubmitOutcome::WrongToken);
        ids.insert(r.id);
    }
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(ids.size(), 1u) << "a duplicate answered with another id";
}

TEST_F(PgQueue, ProcessesMigratingTogetherLeaveOneSchema) {
    // The fixture's storage migrated already; three more start together.
    std::vector<std::thread> starters;
    std::atomic<int> failures{0};
    for (int i = 0; i < 3; ++i) {
        starters.emplace_back([&] {
            try {
                Connect()->Migrate();
            } catch (const StorageError&) {
                ++failures;
            }
        });
    }
    for (auto& t : starters) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(main_->SchemaVersion(), kSchemaVersion);
    Sql("UPDATE board_meta SET value = $1 WHERE key = 'schema_version'", PgParams().text("99"));
    EXPECT_THROW(Connect()->Migrate(), StorageError);
}

TEST_F(PgQueue, AWorkerSurvivesItsConnectionBeingCutByTheServer) {
    auto worker = Connect();
    EXPECT_EQ(worker->QueueDepth(), 0);
    Sql("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
        "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    // The call that meets the cut connection may fail; the next one reconnects.
    try {
        worker->QueueDepth();
    } catch (const StorageError&) {
    }
    SubmitOk(*Connect(), "ann", 1);
    EXPECT_EQ(worker->QueueDepth(), 1);
    EXPECT_TRUE(worker->ClaimJob("w", 60));
}

}  // namespace
}  // namespace mervox::board
#endif  // MERVOX_BOARD_POSTGRES
