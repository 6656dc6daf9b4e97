// The board's answers read as untrusted text: every damaged, mistyped or
// unexpected answer becomes a fault with a sentence, and the good ones give
// their fields. The exchange itself is left out (fed HttpAnswers directly).
#include <gtest/gtest.h>

#include "net/board_api.h"

namespace mervox {
namespace {

HttpAnswer Answer(long status, const std::string& body, long retryAfter = -1) {
    HttpAnswer a;
    a.outcome = HttpOutcome::Answered;
    a.status = status;
    a.body = body;
    a.retryAfter = retryAfter;
    return a;
}

TEST(BoardAnswers, SubmissionAnswersByStatus) {
    SubmitResult r = ReadSubmitAnswer(Answer(202, R"({"id": 17, "state": "pending", "token": "abc"})"));
    EXPECT_EQ(r.error.fault, BoardFault::None);
    EXPECT_EQ(r.id, 17);
    EXPECT_EQ(r.token, "abc");
    EXPECT_FALSE(r.alreadySent);

    // The same rounds sent again: the earlier submission's number, no fault.
    r = ReadSubmitAnswer(Answer(409, R"({"error": "already submitted", "id": 5})"));
    EXPECT_EQ(r.error.fault, BoardFault::None);
    EXPECT_TRUE(r.alreadySent);
    EXPECT_EQ(r.id, 5);
    // ... but a 409 without a number is a refusal with the board's words.
    r = ReadSubmitAnswer(Answer(409, R"({"error": "already submitted"})"));
    EXPECT_EQ(r.error.fault, BoardFault::Refused);
    EXPECT_EQ(r.error.message, "already submitted");

    r = ReadSubmitAnswer(Answer(401, R"({"error": "the name belongs to someone else"})"));
    EXPECT_EQ(r.error.fault, BoardFault::Refused);
    EXPECT_EQ(r.error.status, 401);
    EXPECT_EQ(r.error.message, "the name belongs to someone else");
    // A refusal without words still says something.
    r = ReadSubmitAnswer(Answer(413, "<html>too big</html>"));
    EXPECT_EQ(r.error.fault, BoardFault::Refused);
    EXPECT_FALSE(r.error.message.empty());

    for (long busy : {429L, 503L}) {
        r = ReadSubmitAnswer(Answer(busy, "", 30));
        EXPECT_EQ(r.error.fault, BoardFault::Busy) << busy;
        EXPECT_EQ(r.error.retryAfter, 30) << busy;
    }
    r = ReadSubmitAnswer(Answer(500, R"({"error": "disk full"})"));
    EXPECT_EQ(r.error.fault, BoardFault::NotUnderstood);
    EXPECT_NE(r.error.message.find("disk full"), std::string::npos) << r.error.message;
}

TEST(BoardAnswers, DamagedBodiesAreFaultsNeverCrashes) {
    const char* bodies[] = {
        "", "garbage", "{", "[1,2,3]", "null", R"({"id": "17"})", R"({"id": -4})", R"({"id": 1e400})",
        "\xff\xfe{\"id\":1}", R"({"id": 0, "state": 12})", R"({"scores": {"rank": 1}})",
        R"({"id": 99999999999999999999999})",
    };
    for (const char* b : bodies) {
        EXPECT_NE(ReadSubmitAnswer(Answer(202, b)).error.fault, BoardFault::None) << b;
        EXPECT_NE(ReadSubmissionAnswer(Answer(200, b)).error.fault, BoardFault::None) << b;
        EXPECT_NE(ReadScoresAnswer(Answer(200, b)).error.fault, BoardFault::None) << b;
    }
    // A verified round must carry its score; an unknown state is not an answer.
    EXPECT_NE(ReadSubmissionAnswer(Answer(200, R"({"id":1,"state":"verified","score":null})")).error.fault,
              BoardFault::None);
    EXPECT_NE(ReadSubmissionAnswer(Answer(200, R"({"id":1,"state":"sleeping"})")).error.fault, BoardFault::None);
    EXPECT_NE(ReadSubmissionAnswer(Answer(200, R"({"id":1,"state":12})")).error.fault, BoardFault::None);

    HttpAnswer away;
    away.outcome = HttpOutcome::Unreachable;
    away.error = "Connection refused";
    EXPECT_EQ(ReadSubmitAnswer(away).error.fault, BoardFault::Unreachable);
    EXPECT_NE(ReadSubmitAnswer(away).error.message.find("Connection refused"), std::string::npos);
    HttpAnswer huge;
    huge.outcome = HttpOutcome::TooLarge;
    huge.error = "too long";
    EXPECT_EQ(ReadScoresAnswer(huge).error.fault, BoardFault::NotUnderstood);
}

TEST(BoardAnswers, VerdictsScoresPlayersAndRecordings) {
    const Submission v = ReadSubmissionAnswer(Answer(200,
        R"({"id":17,"name":"ann","state":"verified","score":12040,"level":9,"frames":5462,"cleared":101,)"
        R"("reason":"","rank":12,"total":340,"copied_from":"","sim_version":"x"})"));
    ASSERT_EQ(v.error.fault, BoardFault::None) << v.error.message;
    EXPECT_TRUE(v.finished());
    EXPECT_EQ(v.score, 12040);
    EXPECT_EQ(v.level, 9);
    EXPECT_EQ(v.rank, 12);
    EXPECT_EQ(v.total, 340);
    const Submission pending = ReadSubmissionAnswer(Answer(200,
        R"({"id":17,"name":"ann","state":"pending","score":null,"level":null,"reason":""})"));
    ASSERT_EQ(pending.error.fault, BoardFault::None);
    EXPECT_FALSE(pending.finished());
    EXPECT_EQ(pending.score, -1);

    // Entries that are not objects are passed over; fields of the wrong
    // type read as nothing.
    const ScoresPage page = ReadScoresAnswer(Answer(200,
        R"({"total": 2, "scores": [{"rank":1,"name":"ann","score":900,"level":7,"id":3}, 5,)"
        R"( {"rank":2,"name":["x"],"score":"many","level":2,"id":4}]})"));
    ASSERT_EQ(page.error.fault, BoardFault::None);
    ASSERT_EQ(page.scores.size(), 2u);
    EXPECT_EQ(page.scores[0].name, "ann");
    EXPECT_EQ(page.scores[0].score, 900);
    EXPECT_EQ(page.scores[1].name, "");
    EXPECT_EQ(page.scores[1].score, 0);
    EXPECT_EQ(page.scores[1].id, 4);

    const PlayerStanding me = ReadPlayerAnswer(Answer(200,
        R"({"name":"ann","rank":3,"total":9,"best":{"rank":3,"name":"ann","score":700,"level":5,"id":8},"rounds":[]})"));
    ASSERT_EQ(me.error.fault, BoardFault::None);
    EXPECT_TRUE(me.hasBest);
    EXPECT_EQ(me.best.score, 700);
    EXPECT_EQ(me.rank, 3);
    const PlayerStanding nobody = ReadPlayerAnswer(Answer(404, R"({"error":"no such player"})"));
    EXPECT_EQ(nobody.error.fault, BoardFault::Refused);
    EXPECT_EQ(nobody.error.status, 404);

    EXPECT_EQ(ReadRecordingAnswer(Answer(200, "00010001\r\n00020000\r\n")).error.fault, BoardFault::None);
    EXPECT_EQ(ReadRecordingAnswer(Answer(200, "<html>not a recording</html>")).error.fault,
              BoardFault::NotUnderstood);
}

TEST(BoardAnswers, AddressesAndOrdinals) {
    std::string base;
    EXPECT_TRUE(ParseBoardAddress("http://127.0.0.1:8080/", base));
    EXPECT_EQ(base, "http://127.0.0.1:8080");
    EXPECT_TRUE(ParseBoardAddress("https://board.example", base));
    EXPECT_EQ(base, "https://board.example");
    for (const char* bad : {"", "http://", "ftp://x", "127.0.0.1:80", "http://a b", "http://x?y=1", "http://u@x",
                            "file:///etc/passwd"})
        EXPECT_FALSE(ParseBoardAddress(bad, base)) << bad;

    const std::pair<int, const char*> ordinals[] = {{1, "1st"},    {2, "2nd"},     {3, "3rd"},   {4, "4th"},
                                                    {11, "11th"},  {12, "12th"},   {13, "13th"}, {21, "21st"},
                                                    {22, "22nd"},  {111, "111th"}, {112, "112th"}, {123, "123rd"}};
    for (const auto& [n, text] : ordinals) EXPECT_EQ(Ordinal(n), text);
    EXPECT_EQ(EscapeUrlPart("ann b&c/é"), "ann%20b%26c%2F%C3%A9");
}

}  // namespace
}  // namespace mervox
