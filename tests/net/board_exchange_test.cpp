// Exchanges with a board of the test's own on 127.0.0.1 that answers badly:
// garbage, too slowly, ten megabytes (with and without a length), or not
// at all. Each ends in a fault with a sentence, never a crash or a wait
// past the limits given.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "fake_board.h"
#include "net/board_api.h"

namespace mervox {
namespace {

using mervox_test::FakeBoard;

constexpr size_t kTenMegabytes = 10 * 1024 * 1024;

BoardLimits ShortLimits() {
    BoardLimits l;
    l.connectMs = 2000;
    l.totalMs = 1000;
    return l;
}

TEST(BoardExchange, GoodAnswersCarryTheNameTokenAndRecording) {
    FakeBoard board;
    std::string seenName, seenToken, seenBody;
    board.onAnyRequest([&](const httplib::Request& q, httplib::Response& r) {
        if (q.method == "POST" && q.path == "/api/v1/submissions") {
            seenName = q.get_param_value("name");
            seenToken = q.get_header_value("X-Mervox-Token");
            seenBody = q.body;
            FakeBoard::Json(r, 202, R"({"id": 3, "state": "pending", "token": "t0k"})");
        } else if (q.path == "/api/v1/scores") {
            FakeBoard::Json(r, 200, R"({"total": 1, "scores": [{"rank":1,"name":"a b","score":5,"level":1,"id":3}]})");
        } else if (q.path == "/recordings/3.dat") {
            r.set_content("00010001\r\n", "text/plain");
        } else {
            FakeBoard::Json(r, 404, R"({"error": "no such thing"})");
        }
    });
    const BoardApi api(board.base(), ShortLimits());
    const SubmitResult s = api.submit("a b&c", "secret", "00010001\r\n");
    ASSERT_EQ(s.error.fault, BoardFault::None) << s.error.message;
    EXPECT_EQ(s.id, 3);
    EXPECT_EQ(s.token, "t0k");
    EXPECT_EQ(seenName, "a b&c");
    EXPECT_EQ(seenToken, "secret");
    EXPECT_EQ(seenBody, "00010001\r\n");

    const ScoresPage page = api.scores(20, 0);
    ASSERT_EQ(page.error.fault, BoardFault::None) << page.error.message;
    ASSERT_EQ(page.scores.size(), 1u);
    EXPECT_EQ(page.scores[0].name, "a b");
    EXPECT_EQ(api.recording(3).text, "00010001\r\n");
    const PlayerStanding nobody = api.player("zed");
    EXPECT_EQ(nobody.error.fault, BoardFault::Refused);
    EXPECT_EQ(nobody.error.message, "no such thing");
}

TEST(BoardExchange, GarbageSlowHugeAndAbsentBoards) {
    FakeBoard board;
    const BoardApi api(board.base(), ShortLimits());

    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        r.status = 200;
        r.set_content("\x01\x02 this is not json {{{", "application/json");
    });
    ScoresPage page = api.scores(20, 0);
    EXPECT_EQ(page.error.fault, BoardFault::NotUnderstood);
    EXPECT_NE(page.error.message.find("not understood"), std::string::npos) << page.error.message;

    // Slower than the whole exchange may take.
    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        FakeBoard::Json(r, 200, R"({"total": 0, "scores": []})");
    });
    page = api.scores(20, 0);
    EXPECT_EQ(page.error.fault, BoardFault::Unreachable);
    EXPECT_NE(page.error.message.find("did not answer"), std::string::npos) << page.error.message;

    // Ten megabytes, said in advance, and the same sent in chunks with no
    // length: refused either way.
    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        r.status = 200;
        r.set_content(std::string(kTenMegabytes, '7'), "application/json");
    });
    page = api.scores(20, 0);
    EXPECT_EQ(page.error.fault, BoardFault::NotUnderstood);
    EXPECT_NE(page.error.message.find("longer than"), std::string::npos) << page.error.message;
    EXPECT_EQ(api.recording(1).error.fault, BoardFault::NotUnderstood);

    board.onAnyRequest([](const httplib::Request&, httplib::Response& r) {
        r.status = 200;
        r.set_chunked_content_provider("text/plain", [](size_t offset, httplib::DataSink& sink) {
            if (offset >= kTenMegabytes) {
                sink.done();
                return true;
            }
            static const std::string chunk(64 * 1024, '0');
            return sink.write(chunk.data(), chunk.size());
        });
    });
    const RecordingDownload d = api.recording(1);
    EXPECT_EQ(d.error.fault, BoardFault::NotUnderstood);
    EXPECT_TRUE(d.text.empty());

    const BoardApi nowhere("http://127.0.0.1:" + std::to_string(mervox_test::ClosedLoopbackPort()), ShortLimits());
    const SubmitResult s = nowhere.submit("ann", "", "00010001\r\n");
    EXPECT_EQ(s.error.fault, BoardFault::Unreachable);
    EXPECT_NE(s.error.message.find("did not answer"), std::string::npos) << s.error.message;
}

TEST(BoardExchange, AStopFlagCutsAnExchangeShort) {
    FakeBoard board;
    std::atomic<bool> stop{false};
    BoardLimits patient;
    patient.totalMs = 60000;
    const BoardApi api(board.base(), patient, &stop);
    board.onAnyRequest([&](const httplib::Request&, httplib::Response& r) {
        stop = true;  // the program closes while the board thinks
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        FakeBoard::Json(r, 200, R"({"total": 0, "scores": []})");
    });
    const ScoresPage page = api.scores(20, 0);
    EXPECT_EQ(page.error.fault, BoardFault::Unreachable);
    EXPECT_NE(page.error.message.find("stopped"), std::string::npos) << page.error.message;
}

}  // namespace
}  // namespace mervox
