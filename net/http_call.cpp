#include "net/http_call.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace mervox {

namespace {

struct Transfer {
    std::string body;
    size_t maxBody = 0;
    bool tooLarge = false;
    long retryAfter = -1;
    const std::atomic<bool>* stop = nullptr;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t.body.size() + n > t.maxBody) {
        t.tooLarge = true;
        return 0;  // libcurl ends the transfer with a write error
    }
    t.body.append(data, n);
    return n;
}

size_t TakeHeader(char* data, size_t size, size_t count, void* user) {
    Transfer& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    static constexpr char kName[] = "retry-after:";
    constexpr size_t kNameLength = sizeof kName - 1;
    if (n > kNameLength) {
        bool same = true;
        for (size_t i = 0; i < kNameLength && same; ++i)
            same = std::tolower(static_cast<unsigned char>(data[i])) == kName[i];
        if (same) {
            const std::string value(data + kNameLength, n - kNameLength);
            char* end = nullptr;
            const long v = std::strtol(value.c_str(), &end, 10);
            if (end != value.c_str() && v >= 0) t.retryAfter = v;
        }
    }
    return n;
}

int CheckStop(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const Transfer& t = *static_cast<Transfer*>(user);
    return t.stop != nullptr && t.stop->load() ? 1 : 0;
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

}  // namespace

bool StartNetwork() {
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] { started = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return started;
}

HttpAnswer PerformHttp(const HttpCall& call) {
    HttpAnswer a;
    if (!StartNetwork()) {
        a.error = "libcurl could not start";
        return a;
    }
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        a.error = "libcurl could not start";
        return a;
    }
    Transfer t;
    t.maxBody = call.limits.maxBody;
    t.stop = call.stop;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, call.url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, call.limits.connectMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, call.limits.totalMs);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(call.limits.maxBody));
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "mervox");
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, CheckStop);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    std::unique_ptr<curl_slist, ListDeleter> headers;
    for (const std::string& h : call.headers) {
        curl_slist* more = curl_slist_append(headers.get(), h.c_str());
        if (more == nullptr) {
            a.error = "out of memory";
            return a;
        }
        headers.release();
        headers.reset(more);
    }
    if (call.post) {
        curl_slist* more = curl_slist_append(headers.get(), "Content-Type: text/plain");
        if (more != nullptr) {
            headers.release();
            headers.reset(more);
        }
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, call.body.data());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(call.body.size()));
    }
    if (headers) curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OK) {
        a.outcome = HttpOutcome::Answered;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &a.status);
        a.body = std::move(t.body);
        a.retryAfter = t.retryAfter;
        return a;
    }
    if (t.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
        a.outcome = HttpOutcome::TooLarge;
        a.error = "the answer is longer than " + std::to_string(call.limits.maxBody) + " bytes";
    } else if (result == CURLE_ABORTED_BY_CALLBACK) {
        a.outcome = HttpOutcome::Stopped;
        a.error = "stopped";
    } else {
        a.outcome = HttpOutcome::Unreachable;
        a.error = curl_easy_strerror(result);
    }
    return a;
}

std::string EscapeUrlPart(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto ch = static_cast<unsigned char>(c);
        if (std::isalnum(ch) || ch == '-' || ch == '_' || ch == '.' || ch == '~') {
            out += static_cast<char>(ch);
        } else {
            out += '%';
            out += kHex[ch >> 4];
            out += kHex[ch & 15];
        }
    }
    return out;
}

}  // namespace mervox
