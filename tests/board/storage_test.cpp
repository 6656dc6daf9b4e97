// The storage's promises, on every backend: names and tokens, duplicates,
// the queue's leases and attempts, and the ranked board.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <thread>

#include "board/recording_check.h"
#include "board_test_support.h"

namespace mervox::board {
namespace {

class StorageTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        url_ = test::FindTestBackend(GetParam()).freshUrl();
        std::string error;
        db_ = OpenStorage(url_, error);
        ASSERT_TRUE(db_) << error;
        db_->Migrate();
    }

    // A submission of a recording that differs from every other by `n`.
    NewSubmission Make(const std::string& name, int n) {
        CheckedRecording r;
        std::string error, key;
        CheckName(name, key, error);
        EXPECT_TRUE(CheckRecording("00001" + std::to_string(100 + n % 100) + "\n", r, error)) << error;
        return NewSubmission{name, key, r.canonical, r.digest, 1, "127.0.0.1"};
    }

    int64_t Add(const std::string& name, int n, const std::string& token = "t") {
        const SubmitResult r = db_->Submit(Make(name, n), Sha256Hex(token), Sha256Hex(token), 1000);
        EXPECT_TRUE(r.outcome == SubmitOutcome::Accepted || r.outcome == SubmitOutcome::AcceptedNewName);
        return r.id;
    }

    Verdict Verified(int64_t score, int frames, std::string copied = "") {
        Verdict v;
        v.state = JobState::Verified;
        v.score = score;
        v.level = 1;
        v.frames = frames;
        v.cleared = 3;
        v.simVersion = "1";
        v.copiedFrom = std::move(copied);
        return v;
    }

    // Claims the next job for `owner` and finishes it with `v`.
    int64_t VerifyNext(const Verdict& v, const std::string& owner = "w") {
        auto job = db_->ClaimJob(owner, 60);
        EXPECT_TRUE(job);
        if (!job) return 0;
        EXPECT_TRUE(db_->FinishJob(job->id, owner, v));
        return job->id;
    }

    std::string url_;
    std::unique_ptr<Storage> db_;
};

TEST_P(StorageTest, MigrationIsRecordedAndRunsAgainHarmlessly) {
    EXPECT_EQ(db_->SchemaVersion(), kSchemaVersion);
    Add("ann", 1);
    db_->Migrate();
    std::string error;
    auto again = OpenStorage(url_, error);
    ASSERT_TRUE(again) << error;
    again->Migrate();
    EXPECT_EQ(again->SchemaVersion(), kSchemaVersion);
    EXPECT_EQ(again->QueueDepth(), 1);
}

TEST_P(StorageTest, NamesBelongToTheFirstTokenWithoutCase) {
    const SubmitResult first = db_->Submit(Make("Ann", 1), "", Sha256Hex("secret"), 1000);
    EXPECT_EQ(first.outcome, SubmitOutcome::AcceptedNewName);
    EXPECT_EQ(db_->Submit(Make("ANN", 2), Sha256Hex("secret"), Sha256Hex("other"), 1000).outcome,
              SubmitOutcome::Accepted);
    EXPECT_EQ(db_->Submit(Make("ann", 3), Sha256Hex("guess"), Sha256Hex("other"), 1000).outcome,
              SubmitOutcome::WrongToken);
    EXPECT_EQ(db_->Submit(Make("ann", 4), "", Sha256Hex("other"), 1000).outcome, SubmitOutcome::WrongToken);
    EXPECT_EQ(db_->QueueDepth(), 2);
    // The name is shown as first written.
    EXPECT_EQ(db_->Submission(first.id)->name, "Ann");
    EXPECT_EQ(db_->Player("ann", 10)->rounds.size(), 2u);
}

TEST_P(StorageTest, TheSameKeyChangesAreRefusedWithTheFirstId) {
    const int64_t id = Add("ann", 5);
    const SubmitResult again = db_->Submit(Make("bob", 5), "", Sha256Hex("b"), 1000);
    EXPECT_EQ(again.outcome, SubmitOutcome::Duplicate);
    EXPECT_EQ(again.id, id);
    // Refused before anything is made: bob is still free.
    EXPECT_FALSE(db_->Player("bob", 10));
}

TEST_P(StorageTest, AFullQueueStoresNothing) {
    Add("ann", 1);
    Add("ann", 2);
    EXPECT_EQ(db_->Submit(Make("bob", 3), "", Sha256Hex("b"), 2).outcome, SubmitOutcome::QueueFull);
    EXPECT_EQ(db_->QueueDepth(), 2);
    EXPECT_FALSE(db_->Player("bob", 10));
}

TEST_P(StorageTest, AJobIsClaimedOnceAndFinishedOnlyUnderItsLease) {
    const int64_t a = Add("ann", 1);
    const int64_t b = Add("ann", 2);
    auto first = db_->ClaimJob("w1", 60);
    auto second = db_->ClaimJob("w2", 60);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->id, a);
    EXPECT_EQ(second->id, b);
    EXPECT_EQ(first->name, "ann");
    EXPECT_EQ(first->attempts, 1);
    EXPECT_FALSE(db_->ClaimJob("w3", 60)) << "both are leased";
    EXPECT_FALSE(db_->FinishJob(a, "w2", Verified(10, 100))) << "not w2's job";
    EXPECT_EQ(db_->Submission(a)->state, JobState::Running);
    EXPECT_TRUE(db_->FinishJob(a, "w1", Verified(10, 100)));
    EXPECT_FALSE(db_->FinishJob(a, "w1", Verified(99, 100))) << "finished once";
    EXPECT_EQ(db_->Submission(a)->score, 10);
    // Handed back, the job is claimable again and the attempt not counted.
    EXPECT_TRUE(db_->ReleaseJob(b, "w2"));
    auto again = db_->ClaimJob("w3", 60);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->id, b);
    EXPECT_EQ(again->attempts, 1);
}

TEST_P(StorageTest, ALapsedLeaseIsTakenOverAndTheOldOwnerCannotFinish) {
    const int64_t a = Add("ann", 1);
    // A lease that ran out at once: its worker is as good as dead.
    auto lost = db_->ClaimJob("dead", -5);
    ASSERT_TRUE(lost);
    auto taken = db_->ClaimJob("alive", 60);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->id, a);
    EXPECT_EQ(taken->attempts, 2);
    EXPECT_FALSE(db_->FinishJob(a, "dead", Verified(1, 100)));
    EXPECT_TRUE(db_->FinishJob(a, "alive", Verified(2, 100)));
    EXPECT_EQ(db_->Submission(a)->score, 2);
}

TEST_P(StorageTest, AJobThatStopsItsVerifierThreeTimesFails) {
    const int64_t a = Add("ann", 1);
    const int64_t b = Add("ann", 2);
    for (int k = 0; k < kMaxAttempts; ++k) {
        auto job = db_->ClaimJob("crashing", -5);
        ASSERT_TRUE(job);
        EXPECT_EQ(job->id, a);
    }
    auto next = db_->ClaimJob("w", 60);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->id, b) << "the failed job is not retried";
    const auto failed = db_->Submission(a);
    EXPECT_EQ(failed->state, JobState::Failed);
    EXPECT_EQ(failed->reason, kGaveUpReason);
    EXPECT_EQ(db_->QueueDepth(), 1);
}

TEST_P(StorageTest, TheBoardRanksEachNamesBestUncopiedRound) {
    Add("ann", 1);
    Add("ann", 2);
    Add("bob", 3, "b");
    Add("cat", 4, "c");
    Add("dan", 5, "d");
    Add("eve", 6, "e");
    VerifyNext(Verified(500, 900));
    const int64_t annBest = VerifyNext(Verified(700, 900));
    const int64_t bob = VerifyNext(Verified(700, 800));  // same score, fewer frames: ahead
    VerifyNext(Verified(900, 900, "the shipped recording demo1.dat"));
    Verdict rejected;
    rejected.reason = "the recording never ends the round";
    VerifyNext(rejected);
    VerifyNext(Verified(100, 900));

    const ScorePage page = db_->Scores(10, 0);
    EXPECT_EQ(page.total, 3);
    ASSERT_EQ(page.scores.size(), 3u);
    EXPECT_EQ(page.scores[0].round.id, bob);
    EXPECT_EQ(page.scores[1].round.id, annBest);
    EXPECT_EQ(page.scores[1].rank, 2);
    EXPECT_EQ(page.scores[2].round.name, "eve");
    const ScorePage second = db_->Scores(1, 1);
    ASSERT_EQ(second.scores.size(), 1u);
    EXPECT_EQ(second.scores[0].rank, 2);
    EXPECT_EQ(second.scores[0].round.id, annBest);

    int64_t rank = 0, total = 0;
    db_->RankOfName("eve", rank, total);
    EXPECT_EQ(rank, 3);
    EXPECT_EQ(total, 3);
    db_->RankOfName("cat", rank, total);
    EXPECT_EQ(rank, 0) << "a copied opening is left off the board";
    auto cat = db_->Player("cat", 10);
    ASSERT_TRUE(cat);
    EXPECT_FALSE(cat->best);
    ASSERT_EQ(cat->rounds.size(), 1u);
    EXPECT_EQ(cat->rounds[0].copiedFrom, "the shipped recording demo1.dat");
    EXPECT_EQ(db_->Player("dan", 10)->rounds[0].reason, "the recording never ends the round");

    EXPECT_TRUE(db_->VerifiedRecording(bob));
    EXPECT_FALSE(db_->VerifiedRecording(bob + 1000));
    const auto top = db_->TopRecordings(2);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].nameKey, "bob");
    EXPECT_EQ(db_->Latest(2).size(), 2u);
    EXPECT_EQ(db_->Latest(10).front().name, "eve");
}

TEST_P(StorageTest, ReverificationShowsAChangedResult) {
    Add("ann", 1);
    Add("bob", 2, "b");
    const int64_t ann = VerifyNext(Verified(500, 900));
    const int64_t bob = VerifyNext(Verified(400, 900));
    EXPECT_EQ(db_->RequeueVerified(), 2);
    EXPECT_EQ(db_->QueueDepth(), 2);
    // The board keeps its rounds while they are played again.
    EXPECT_EQ(db_->Scores(10, 0).total, 2);
    EXPECT_EQ(VerifyNext(Verified(300, 900)), ann);
    EXPECT_EQ(VerifyNext(Verified(400, 900)), bob);
    const auto changed = db_->Submission(ann);
    EXPECT_TRUE(changed->changed);
    EXPECT_EQ(changed->previousScore, 500);
    EXPECT_FALSE(db_->Submission(bob)->changed);
    EXPECT_EQ(db_->Scores(10, 0).scores[0].round.id, bob);
    // A round that no longer plays to its end takes its name off the board.
    EXPECT_EQ(db_->RequeueVerified(), 2);
    Verdict rejected;
    rejected.reason = "the recording never ends the round";
    EXPECT_EQ(VerifyNext(rejected), ann);
    EXPECT_EQ(VerifyNext(Verified(400, 900)), bob);
    EXPECT_EQ(db_->Scores(10, 0).total, 1);
    EXPECT_TRUE(db_->Submission(ann)->changed);
}

TEST_P(StorageTest, WorkersOnTheirOwnConnectionsFinishEachJobOnce) {
    constexpr int kJobs = 60;
    for (int k = 0; k < kJobs; ++k) Add("ann", k);
    std::mutex mutex;
    std::map<int64_t, int> finished;
    std::vector<std::thread> workers;
    std::vector<std::string> errors(3);
    for (int w = 0; w < 3; ++w) {
        workers.emplace_back([&, w] {
            std::string error;
            auto db = OpenStorage(url_, error);
            if (!db) {
                errors[static_cast<size_t>(w)] = error;
                return;
            }
            const std::string owner = "worker" + std::to_string(w);
            try {
                while (auto job = db->ClaimJob(owner, 60)) {
                    if (db->FinishJob(job->id, owner, Verified(job->id, 100))) {
                        std::lock_guard<std::mutex> lock(mutex);
                        ++finished[job->id];
                    }
                }
            } catch (const std::exception& e) {
                errors[static_cast<size_t>(w)] = e.what();
            }
        });
    }
    for (auto& t : workers) t.join();
    for (const auto& e : errors) EXPECT_EQ(e, "");
    EXPECT_EQ(finished.size(), static_cast<size_t>(kJobs));
    for (const auto& [id, times] : finished) EXPECT_EQ(times, 1) << "job " << id;
    EXPECT_EQ(db_->QueueDepth(), 0);
    EXPECT_EQ(db_->Player("ann", 100)->best->score, finished.rbegin()->first);
}

INSTANTIATE_TEST_SUITE_P(Backends, StorageTest, ::testing::ValuesIn(test::TestBackendNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace mervox::board
