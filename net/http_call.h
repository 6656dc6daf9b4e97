// One HTTP request to the score board, through libcurl: bounded in time
// (connecting and the whole exchange) and in the size of the answer, never
// raising a signal, and cut short when its stop flag is set.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

namespace mervox {

// Starts libcurl for the whole process. Called by main before any thread
// starts; later calls do nothing. False when libcurl cannot start (every
// request then fails as unreachable).
bool StartNetwork();

struct HttpLimits {
    long connectMs = 3000;
    long totalMs = 15000;
    size_t maxBody = 1024 * 1024;  // a longer answer is refused, not kept
};

enum class HttpOutcome {
    Answered,     // a status and a whole body
    Unreachable,  // no connection, a timeout, a broken exchange
    TooLarge,     // the answer was longer than the limit
    Stopped,      // the stop flag was set while it ran
};

struct HttpAnswer {
    HttpOutcome outcome = HttpOutcome::Unreachable;
    long status = 0;
    std::string body;
    long retryAfter = -1;  // seconds, from Retry-After; -1 without one
    std::string error;     // what went wrong, in libcurl's words
};

struct HttpCall {
    std::string url;
    bool post = false;
    std::string body;                  // sent with a POST
    std::vector<std::string> headers;  // "Name: value"
    HttpLimits limits;
    const std::atomic<bool>* stop = nullptr;
};

HttpAnswer PerformHttp(const HttpCall& call);

// `text` made safe for a URL's path or query.
std::string EscapeUrlPart(const std::string& text);

}  // namespace mervox
