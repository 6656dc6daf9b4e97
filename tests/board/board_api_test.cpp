// The board over HTTP on 127.0.0.1, on every backend: rounds verified as
// the game plays them, bad input refused with its status and nothing else
// changed, floods slowed down, and the pages.
#include <gtest/gtest.h>

#include "board/recording_check.h"
#include "board_test_support.h"

namespace mervox::board {
namespace {

using test::Reply;

class BoardApiTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { url_ = test::FindTestBackend(GetParam()).freshUrl(); }

    std::string url_;
};

std::string Demo(const char* name) { return test::ReadFile(test::SourcePath(std::string("data/") + name)); }

TEST_P(BoardApiTest, EveryRoundIsVerifiedWithTheNumbersTheGamePrints) {
    test::LocalBoard board(test::TestOptions(url_, 2));
    auto c = board.Client();
    test::ScratchDir dir;
    // The shipped recordings, a recording of the bot's, and two made from
    // them: the first half of demo1, and demo2 with its keys a frame later.
    std::vector<std::pair<std::string, std::string>> rounds = {
        {"demo1", Demo("demo1.dat")},
        {"demo2", Demo("demo2.dat")},
        {"tuto", Demo("tuto.dat")},
        {"bot", test::ReadFile(test::SourcePath("tests/app/data/bot_round.dat"))},
    };
    CheckedRecording d1, d2;
    std::string error;
    ASSERT_TRUE(CheckRecording(rounds[0].second, d1, error));
    ASSERT_TRUE(CheckRecording(rounds[1].second, d2, error));
    std::string half, later;
    for (size_t k = 0; k < d1.records.size() / 2; ++k)
        half += std::to_string(100000000 + d1.records[k].frame * 1000 + d1.records[k].keys).substr(1) + "\n";
    for (const InputRecord& r : d2.records)
        later += std::to_string(100000000 + (r.frame + 1) * 1000 + r.keys).substr(1) + "\n";
    rounds.push_back({"half", half});
    rounds.push_back({"later", later});

    std::vector<int64_t> ids;
    for (size_t k = 0; k < rounds.size(); ++k) {
        const Reply r = test::Submit(c, "player" + std::to_string(k), rounds[k].second);
        ASSERT_EQ(r.status, 202) << rounds[k].first << ": " << r.body;
        const auto j = r.json();
        EXPECT_EQ(j["state"], "pending");
        EXPECT_EQ(j["token"].get<std::string>().size(), 64u);
        ids.push_back(j["id"].get<int64_t>());
    }
    for (size_t k = 0; k < rounds.size(); ++k) {
        const std::string path = dir.path + "/" + rounds[k].first + ".dat";
        {
            std::ofstream(path, std::ios::binary) << rounds[k].second;
        }
        const test::HeadlessResult want = test::RunHeadless(path);
        ASSERT_GE(want.frames, 1) << "mervox --headless did not play " << path;
        const auto got = test::AwaitFinal(c, ids[k]);
        ASSERT_EQ(got["state"], "verified") << rounds[k].first << ": " << got.dump();
        EXPECT_EQ(got["score"], want.score) << rounds[k].first;
        EXPECT_EQ(got["level"], want.level) << rounds[k].first;
        EXPECT_EQ(got["frames"], want.frames) << rounds[k].first;
        EXPECT_EQ(got["cleared"], want.cleared) << rounds[k].first;
        EXPECT_EQ(got["sim_version"], "1");
        // The recording comes back as verified, ready to watch.
        const Reply rec = test::Get(c, "/recordings/" + std::to_string(ids[k]) + ".dat");
        EXPECT_EQ(rec.status, 200);
        CheckedRecording back;
        ASSERT_TRUE(CheckRecording(rec.body, back, error)) << error;
        CheckedRecording sent;
        ASSERT_TRUE(CheckRecording(rounds[k].second, sent, error));
        EXPECT_EQ(back.digest, sent.digest);
    }
    // The shipped ones were taken over whole; the shifted demo2 shares
    // nothing; the first half of demo1 shares all its updates up to where
    // its keys stop, which is less than half of that round.
    for (size_t k : {0, 1, 2}) {
        const auto j = test::Get(c, "/api/v1/submissions/" + std::to_string(ids[k])).json();
        EXPECT_EQ(j["copied_from"], "the shipped recording " + rounds[k].first + ".dat");
        EXPECT_FALSE(j.contains("rank"));
    }
    const auto shifted = test::Get(c, "/api/v1/submissions/" + std::to_string(ids[5])).json();
    EXPECT_EQ(shifted["copied_from"], "");
    EXPECT_GE(shifted["rank"].get<int>(), 1);

    const auto scores = test::Get(c, "/api/v1/scores?limit=100").json();
    int64_t previous = INT64_MAX;
    int rank = 0;
    for (const auto& e : scores["scores"]) {
        EXPECT_EQ(e["rank"], ++rank);
        EXPECT_LE(e["score"].get<int64_t>(), previous);
        previous = e["score"].get<int64_t>();
        EXPECT_NE(e["name"], "player0") << "copied rounds are left off the board";
    }
    EXPECT_EQ(scores["total"], rank);
}

TEST_P(BoardApiTest, BadInputGetsItsStatusAndChangesNothing) {
    test::LocalBoard board(test::TestOptions(url_, 1));
    auto c = board.Client();
    const Reply first = test::Submit(c, "Ann", Demo("demo2.dat"));
    ASSERT_EQ(first.status, 202);
    const std::string token = first.json()["token"];
    const int64_t firstId = first.json()["id"];
    test::AwaitFinal(c, firstId);
    const std::string before = test::Snapshot(url_);

    std::string tooMany;
    for (int k = 1; k <= 6001; ++k) tooMany += std::to_string(100000000 + k * 1000 + (k % 2)).substr(1) + "\r\n";
    std::string demo2Lf = Demo("demo2.dat");
    for (size_t p; (p = demo2Lf.find('\r')) != std::string::npos;) demo2Lf.erase(p, 1);

    struct Case {
        const char* what;
        std::string name, body, token;
        int status;
    };
    const Case cases[] = {
        {"too large", "bob", std::string(300 * 1024, '0'), "", 413},
        {"binary", "bob", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "", 400},
        {"empty", "bob", "", "", 400},
        {"6001 records", "bob", tooMany, "", 400},
        {"frames going backwards", "bob", "00010001\r\n00200000\r\n00100001\r\n", "", 400},
        {"markup in the name", "<script>alert(1)</script>", "00010001\r\n", "", 400},
        {"quotes in the name", "a'b\"c", "00010001\r\n", "", 400},
        {"SQL in the name", "x'); DROP TABLE player;--", "00010001\r\n", "", 400},
        {"no name", "", "00010001\r\n", "", 400},
        {"a wrong token", "ann", "00010001\r\n", "0123", 401},
        {"no token for a taken name", "ANN", "00010001\r\n", "", 401},
        {"another's round again", "bob", demo2Lf, "", 409},
        {"one's own round again", "ann", Demo("demo2.dat"), token, 409},
    };
    for (const Case& k : cases) {
        const Reply r = test::Submit(c, k.name, k.body, k.token);
        EXPECT_EQ(r.status, k.status) << k.what << ": " << r.body;
        const auto j = r.json();
        ASSERT_TRUE(j.is_object()) << k.what << ": " << r.body;
        EXPECT_FALSE(j.value("error", "").empty()) << k.what;
        if (k.status == 409) {
            EXPECT_EQ(j["id"], firstId) << k.what;
        }
        EXPECT_EQ(test::Snapshot(url_), before) << k.what;
    }
    // A body sent in chunks has no length to cap it by: refused before it
    // is read, and the connection closed.
    const std::string chunked = test::RawExchange(
        board.port,
        "POST /api/v1/submissions?name=bob HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: text/plain\r\n"
        "Transfer-Encoding: chunked\r\n\r\n");
    EXPECT_EQ(chunked.rfind("HTTP/1.1 411 ", 0), 0u) << chunked;
    EXPECT_EQ(test::Snapshot(url_), before);

    // The rightful owner still gets in, with the name in any case.
    const Reply mine = test::Submit(c, "aNN", Demo("tuto.dat"), token);
    EXPECT_EQ(mine.status, 202) << mine.body;
    EXPECT_FALSE(mine.json().contains("token"));
}

TEST_P(BoardApiTest, AFloodIsSlowedAndAFullQueueTurnsAway) {
    auto options = test::TestOptions(url_, 0);
    options.addressPerMinute = 1;
    options.addressBurst = 3;
    options.maxQueued = 2;
    test::LocalBoard board(options);
    auto c = board.Client();
    EXPECT_EQ(test::Submit(c, "ann", "00010001\n").status, 202);
    EXPECT_EQ(test::Submit(c, "bob", "00010002\n").status, 202);
    const std::string before = test::Snapshot(url_);
    const Reply full = test::Submit(c, "cat", "00010003\n");
    EXPECT_EQ(full.status, 503);
    EXPECT_FALSE(full.retryAfter.empty());
    for (int k = 0; k < 5; ++k) {
        const Reply r = test::Submit(c, "dan", "0001000" + std::to_string(4 + k) + "\n");
        EXPECT_EQ(r.status, 429) << r.body;
        EXPECT_GE(std::stoi(r.retryAfter.empty() ? "0" : r.retryAfter), 1);
    }
    EXPECT_EQ(test::Snapshot(url_), before);
    // Reading is never slowed.
    EXPECT_EQ(test::Get(c, "/healthz").status, 200);
}

TEST_P(BoardApiTest, OneNameIsSlowedFromAnyAddress) {
    auto options = test::TestOptions(url_, 0);
    options.namePerMinute = 1;
    options.nameBurst = 2;
    test::LocalBoard board(options);
    auto c = board.Client();
    const Reply first = test::Submit(c, "ann", "00010001\n");
    ASSERT_EQ(first.status, 202);
    EXPECT_EQ(test::Submit(c, "ann", "00010002\n", first.json()["token"]).status, 202);
    EXPECT_EQ(test::Submit(c, "ANN", "00010003\n", first.json()["token"]).status, 429);
    EXPECT_EQ(test::Submit(c, "bob", "00010003\n").status, 202);
}

TEST_P(BoardApiTest, PagesReadWithoutScriptsAndEscapeEverything) {
    test::LocalBoard board(test::TestOptions(url_, 1));
    auto c = board.Client();
    CheckedRecording d2;
    std::string error;
    ASSERT_TRUE(CheckRecording(Demo("demo2.dat"), d2, error));
    std::string shifted;
    for (const InputRecord& r : d2.records)
        shifted += std::to_string(100000000 + (r.frame + 2) * 1000 + r.keys).substr(1) + "\n";
    const Reply sent = test::Submit(c, "Zed-9", shifted);
    ASSERT_EQ(sent.status, 202);
    const int64_t id = sent.json()["id"];
    const auto done = test::AwaitFinal(c, id);
    ASSERT_EQ(done["state"], "verified");
    EXPECT_EQ(done["rank"], 1);
    EXPECT_EQ(done["total"], 1);

    const Reply home = test::Get(c, "/");
    EXPECT_EQ(home.status, 200);
    EXPECT_EQ(home.contentType, "text/html; charset=utf-8");
    EXPECT_NE(home.csp.find("default-src 'none'"), std::string::npos);
    EXPECT_EQ(home.body.find("<script"), std::string::npos);
    EXPECT_NE(home.body.find("<a href=\"/players/Zed-9\">Zed-9</a>"), std::string::npos);
    EXPECT_NE(home.body.find(">" + std::to_string(done["score"].get<int64_t>()) + "<"), std::string::npos);

    const Reply player = test::Get(c, "/players/zed-9");
    EXPECT_EQ(player.status, 200);
    EXPECT_NE(player.body.find("mervox --watch round-" + std::to_string(id) + ".dat"), std::string::npos);
    EXPECT_NE(player.body.find("/recordings/" + std::to_string(id) + ".dat"), std::string::npos);
    const auto pj = test::Get(c, "/api/v1/players/ZED-9").json();
    EXPECT_EQ(pj["name"], "Zed-9");
    EXPECT_EQ(pj["rank"], 1);
    EXPECT_EQ(pj["best"]["id"], id);

    const Reply latest = test::Get(c, "/submissions");
    EXPECT_NE(latest.body.find("verified"), std::string::npos);

    const Reply missing = test::Get(c, "/players/%3Cscript%3Ealert(1)%3C%2Fscript%3E");
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(missing.body.find("<script"), std::string::npos);
    EXPECT_EQ(test::Get(c, "/api/v1/players/nobody").status, 404);
    EXPECT_EQ(test::Get(c, "/api/v1/submissions/999999").status, 404);
    EXPECT_EQ(test::Get(c, "/api/v1/submissions/99999999999999999999999").status, 404);
    EXPECT_EQ(test::Get(c, "/recordings/999.dat").status, 404);
    EXPECT_EQ(test::Get(c, "/api/v1/scores?limit=0").status, 400);
    EXPECT_EQ(test::Get(c, "/api/v1/scores?limit=101").status, 400);
    EXPECT_EQ(test::Get(c, "/api/v1/scores?offset=-1").status, 400);
    EXPECT_EQ(test::Get(c, "/api/v1/scores?offset=1").json()["scores"].size(), 0u);
    EXPECT_EQ(test::Get(c, "/healthz").json()["ok"], true);
    EXPECT_EQ(test::Get(c, "/style.css").status, 200);
}

INSTANTIATE_TEST_SUITE_P(Backends, BoardApiTest, ::testing::ValuesIn(test::TestBackendNames()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace mervox::board
