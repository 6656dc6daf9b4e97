// What the board accepts before queueing, and the pieces of verification
// that need no database.
#include <gtest/gtest.h>

#include "board/rate_limit.h"
#include "board/recording_check.h"
#include "board/verifier.h"
#include "board/views.h"
#include "board_test_support.h"

namespace mervox::board {
namespace {

std::string Records(int count, int firstFrame = 1) {
    std::string s;
    char line[16];
    for (int k = 0; k < count; ++k) {
        std::snprintf(line, sizeof line, "%05d%03d\r\n", firstFrame + k, k % 2 ? 0 : 1);
        s += line;
    }
    return s;
}

TEST(RecordingCheck, TheSameKeyChangesHaveOneDigestHoweverWritten) {
    CheckedRecording a, b, c;
    std::string error;
    ASSERT_TRUE(CheckRecording("00010001\r\n00020000\r\n", a, error)) << error;
    ASSERT_TRUE(CheckRecording("  00010001\n\n00020000   ", b, error)) << error;
    ASSERT_TRUE(CheckRecording("00010001\r\n00030000\r\n", c, error)) << error;
    EXPECT_EQ(a.digest, b.digest);
    EXPECT_EQ(a.canonical, b.canonical);
    // Records that repeat the keys held are no changes.
    CheckedRecording d;
    ASSERT_TRUE(CheckRecording("00005000\n00010001\n00015001\n00020000\n00025000\n", d, error)) << error;
    EXPECT_EQ(d.digest, a.digest);
    EXPECT_EQ(d.records.size(), 5u) << "kept as sent";
    EXPECT_EQ(a.canonical, "00010001\r\n00020000\r\n");
    EXPECT_NE(a.digest, c.digest);
    EXPECT_EQ(a.digest.size(), 64u);
}

TEST(RecordingCheck, ShippedRecordingsPassAsTheyAre) {
    for (const char* f : {"data/demo1.dat", "data/demo2.dat", "data/tuto.dat"}) {
        const std::string text = test::ReadFile(test::SourcePath(f));
        CheckedRecording r;
        std::string error;
        ASSERT_TRUE(CheckRecording(text, r, error)) << f << ": " << error;
        EXPECT_EQ(r.canonical, text) << f << " is written as the game writes it";
    }
}

TEST(RecordingCheck, RefusesWhatIsNoRecordingAndSaysWhere) {
    struct Case {
        std::string body;
        std::string says;
    };
    const Case cases[] = {
        {"", "empty"},
        {" \r\n\n", "empty"},
        {"00010001\n0002000\n", "line 2 is not a record"},
        {"00010001\nhello!!!\n", "line 2 is not a record"},
        {"00010001\n000200001\n", "line 2 is not a record"},
        {"00010256\n", "line 1 has keys 256"},
        {"00000001\n", "line 1 is at frame 0"},
        {"00010001\n00050000\n00040001\n", "line 3 goes back in time: frame 40 after frame 50"},
        {"00010001\n00010000\n", "line 2 goes back in time"},
        {std::string("0001\0" "0001\n", 10), "not text"},
        {"00010001\n\xff\xfe", "not text"},
        {Records(6001), "more than 6000 records"},
    };
    for (const Case& c : cases) {
        CheckedRecording r;
        std::string error;
        EXPECT_FALSE(CheckRecording(c.body, r, error)) << c.says;
        EXPECT_NE(error.find(c.says), std::string::npos) << "said: " << error;
    }
    CheckedRecording full;
    std::string error;
    EXPECT_TRUE(CheckRecording(Records(6000), full, error)) << error;
    EXPECT_EQ(full.records.size(), 6000u);
}

TEST(NameCheck, ThreeToSixteenSafeCharactersComparedWithoutCase) {
    std::string key, error;
    EXPECT_TRUE(CheckName("Ann_-9", key, error));
    EXPECT_EQ(key, "ann_-9");
    EXPECT_TRUE(CheckName("abc", key, error));
    EXPECT_TRUE(CheckName("ABCDEFGHIJKLMNOP", key, error));
    EXPECT_EQ(key, "abcdefghijklmnop");
    for (const char* bad : {"ab", "ABCDEFGHIJKLMNOPQ", "<script>", "a'b\"c", "x'; DROP TABLE player;--", "an n",
                            "ann/..", "\xc3\xa9t\xc3\xa9", ""}) {
        EXPECT_FALSE(CheckName(bad, key, error)) << bad;
        EXPECT_TRUE(key.empty());
    }
}

TEST(SharedOpening, CountsTheUpdatesWithTheSameKeysHeld) {
    const std::vector<InputRecord> a = {{10, 1}, {20, 0}, {30, 4}};
    EXPECT_EQ(SharedOpening(a, a, 500), 500);
    // The same keys written at the same frames, then a change at 30 of b only.
    EXPECT_EQ(SharedOpening(a, {{10, 1}, {20, 0}, {30, 8}}, 500), 29);
    // A record that repeats the keys held changes nothing.
    EXPECT_EQ(SharedOpening(a, {{10, 1}, {15, 1}, {20, 0}, {30, 4}}, 500), 500);
    // Different from the first update on.
    EXPECT_EQ(SharedOpening({{1, 2}}, a, 500), 0);
    // The answer never passes the round's length.
    EXPECT_EQ(SharedOpening(a, {{10, 1}, {20, 0}}, 25), 25);
    EXPECT_EQ(SharedOpening({}, {}, 40), 40);
}

TEST(Verifier, ARoundWithNoKeysEndsWhenTheClockRunsOut) {
    const PlayResult idle = PlayRecording({{1, 0}});
    EXPECT_TRUE(idle.ended);
    EXPECT_EQ(idle.score, 0u);
    // 60 seconds of clock, then the round's end sequence.
    EXPECT_GT(idle.frames, 3600);
    const PlayResult cut = PlayRecording({{1, 0}}, 100);
    EXPECT_FALSE(cut.ended);
    EXPECT_EQ(cut.updates, 100);
}

TEST(Verifier, AShippedRecordingIsMarkedCopiedButAnotherNameIsNot) {
    CheckedRecording demo;
    std::string error;
    ASSERT_TRUE(CheckRecording(test::ReadFile(test::SourcePath("data/demo1.dat")), demo, error));
    Job job{7, "ann", "ann", demo.canonical, 1};
    const Verdict copied = VerifyJob(job, ShippedRecordings());
    EXPECT_EQ(copied.state, JobState::Verified);
    EXPECT_EQ(copied.copiedFrom, "the shipped recording demo1.dat");
    EXPECT_EQ(copied.sharedUpdates, copied.frames);

    // The same round on the board under ann's own name is not a copy of
    // ann's, nor of itself; under someone else's name it is.
    std::vector<OpeningSource> board = {{"ann's round 3", "ann", 3, demo.records}};
    EXPECT_EQ(VerifyJob(job, board).copiedFrom, "");
    board.front().id = 7;
    board.front().nameKey = "bob";
    EXPECT_EQ(VerifyJob(job, board).copiedFrom, "");
    board.front().id = 3;
    EXPECT_EQ(VerifyJob(job, board).copiedFrom, "ann's round 3");

    // Half the round or less in common is no copy.
    const Verdict whole = VerifyJob(job, {});
    std::vector<InputRecord> early;
    for (const InputRecord& r : demo.records)
        if (r.frame < whole.frames / 2) early.push_back(r);
    early.push_back({whole.frames / 2, 99});
    const Verdict half = VerifyJob(job, {{"someone", "bob", 9, early}});
    EXPECT_EQ(half.copiedFrom, "");
    EXPECT_LE(2 * half.sharedUpdates, whole.frames);
    EXPECT_GT(half.sharedUpdates, 0);
}

TEST(Verifier, RecordsRepeatingTheKeysHeldPlayAlikeAsTheDigestAssumes) {
    for (const char* f : {"data/demo1.dat", "data/demo2.dat", "tests/app/data/bot_round.dat"}) {
        CheckedRecording plain, padded;
        std::string error;
        ASSERT_TRUE(CheckRecording(test::ReadFile(test::SourcePath(f)), plain, error)) << error;
        // A repeat one update after every change, where there is room, and
        // one at frame 1 repeating "no keys".
        std::string text = "00001000\n";
        for (size_t k = 0; k < plain.records.size(); ++k) {
            const InputRecord& r = plain.records[k];
            char line[32];
            std::snprintf(line, sizeof line, "%05d%03d\n", r.frame, r.keys);
            if (r.frame > 1) text += line;
            const bool room = k + 1 == plain.records.size() || plain.records[k + 1].frame > r.frame + 1;
            if (room && r.frame > 1) {
                std::snprintf(line, sizeof line, "%05d%03d\n", r.frame + 1, r.keys);
                text += line;
            }
        }
        ASSERT_TRUE(CheckRecording(text, padded, error)) << error;
        ASSERT_GT(padded.records.size(), plain.records.size() + plain.records.size() / 4) << f;
        EXPECT_EQ(padded.digest, plain.digest) << f;
        const PlayResult a = PlayRecording(plain.records), b = PlayRecording(padded.records);
        EXPECT_TRUE(a.ended);
        EXPECT_EQ(a.score, b.score) << f;
        EXPECT_EQ(a.frames, b.frames) << f;
        EXPECT_EQ(a.level, b.level) << f;
        EXPECT_EQ(a.cleared, b.cleared) << f;
    }
}

TEST(Verifier, ABrokenStoredRecordingIsRejectedWithItsReason) {
    const Verdict v = VerifyJob(Job{1, "ann", "ann", "00050001\n00040000\n", 1}, {});
    EXPECT_EQ(v.state, JobState::Rejected);
    EXPECT_NE(v.reason.find("goes back in time"), std::string::npos);
}

TEST(RateLimit, ABurstThenOneEveryIntervalForEachKey) {
    RateLimiter limit(6, 2);  // one every 10 s, two at once
    const auto t0 = RateLimiter::Clock::time_point{} + std::chrono::hours(1);
    int retry = 0;
    EXPECT_TRUE(limit.Allow("a", t0, retry));
    EXPECT_TRUE(limit.Allow("a", t0, retry));
    EXPECT_FALSE(limit.Allow("a", t0, retry));
    EXPECT_EQ(retry, 10);
    EXPECT_TRUE(limit.Allow("b", t0, retry)) << "each key has its own bucket";
    EXPECT_FALSE(limit.Allow("a", t0 + std::chrono::seconds(4), retry));
    EXPECT_EQ(retry, 6);
    EXPECT_TRUE(limit.Allow("a", t0 + std::chrono::seconds(11), retry));
    RateLimiter none(0, 0);
    for (int k = 0; k < 100; ++k) EXPECT_TRUE(none.Allow("a", t0, retry));
}

TEST(Views, NamesAndReasonsAreEscapedInEveryPage) {
    SubmissionRow r;
    r.id = 4;
    r.name = "<script>x</script>";
    r.state = JobState::Rejected;
    r.reason = "a \"reason\" & <b>";
    r.copiedFrom = "o'neil";
    const std::string latest = LatestPage({r});
    EXPECT_EQ(latest.find("<script>x"), std::string::npos);
    EXPECT_NE(latest.find("&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(latest.find("a &quot;reason&quot; &amp; &lt;b&gt;"), std::string::npos);
    EXPECT_NE(latest.find("o&#39;neil"), std::string::npos);
    PlayerPage p;
    p.name = r.name;
    p.rounds = {r};
    EXPECT_EQ(PlayerHtml(p).find("<script>x"), std::string::npos);
    ScorePage board;
    board.total = 1;
    r.state = JobState::Verified;
    board.scores.push_back(ScoreEntry{1, r});
    EXPECT_EQ(BoardPage(board, 20, 0).find("<script>x"), std::string::npos);
}

TEST(Views, JsonShowsNumbersOnlyOnceVerified) {
    SubmissionRow r;
    r.id = 3;
    r.name = "ann";
    r.score = 50;
    auto pending = SubmissionJson(r, 0, 0);
    EXPECT_TRUE(pending["score"].is_null());
    EXPECT_FALSE(pending.contains("rank"));
    r.state = JobState::Verified;
    auto done = SubmissionJson(r, 2, 9);
    EXPECT_EQ(done["score"], 50);
    EXPECT_EQ(done["rank"], 2);
    EXPECT_EQ(done["total"], 9);
    EXPECT_EQ(TimePlayed(5462), "1:31");
    EXPECT_EQ(IsoTime(0), "1970-01-01T00:00:00Z");
}

}  // namespace
}  // namespace mervox::board
