// How often one address or one name may submit: a bucket of `burst`
// submissions per key, refilled at `perMinute`.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace mervox::board {

class RateLimiter {
public:
    using Clock = std::chrono::steady_clock;

    // perMinute 0: no limit.
    RateLimiter(double perMinute, double burst) : perMinute_(perMinute), burst_(burst) {}

    // Takes one submission from the key's bucket. False when it is empty,
    // with the whole seconds until one is there in `retryAfter`.
    bool Allow(const std::string& key, Clock::time_point now, int& retryAfter);

private:
    struct Bucket {
        double tokens = 0;
        Clock::time_point at;
    };
    double perMinute_;
    double burst_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

}  // namespace mervox::board
