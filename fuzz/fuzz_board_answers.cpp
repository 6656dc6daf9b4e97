// Fuzzes the reading of the score board's answers: any body, under any of
// the statuses the game meets, gives an answer or a fault with a sentence,
// never a crash; a fault never comes with a submission number to follow,
// and a finished verdict always has a known state.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/board_api.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    mervox::HttpAnswer a;
    a.outcome = mervox::HttpOutcome::Answered;
    a.body.assign(reinterpret_cast<const char*>(data), size);
    for (long status : {200L, 202L, 400L, 401L, 404L, 409L, 429L, 500L}) {
        a.status = status;
        const mervox::SubmitResult s = mervox::ReadSubmitAnswer(a);
        if (s.error.fault == mervox::BoardFault::None && s.id <= 0) std::abort();
        if (s.error.fault != mervox::BoardFault::None && s.error.message.empty()) std::abort();
        const mervox::Submission v = mervox::ReadSubmissionAnswer(a);
        if (v.error.fault == mervox::BoardFault::None && v.state.empty()) std::abort();
        if (v.error.fault == mervox::BoardFault::None && v.state == "verified" && v.score < 0) std::abort();
        const mervox::ScoresPage p = mervox::ReadScoresAnswer(a);
        if (p.error.fault != mervox::BoardFault::None && !p.scores.empty()) std::abort();
        mervox::ReadPlayerAnswer(a);
        const mervox::RecordingDownload d = mervox::ReadRecordingAnswer(a);
        if (d.error.fault == mervox::BoardFault::None && d.text.empty()) std::abort();
    }
    return 0;
}
