#include "board/rate_limit.h"

#include <algorithm>
#include <cmath>

namespace mervox::board {

bool RateLimiter::Allow(const std::string& key, Clock::time_point now, int& retryAfter) {
    retryAfter = 0;
    if (perMinute_ <= 0) return true;
    std::lock_guard<std::mutex> lock(mutex_);
    // Full buckets say nothing a new one would not: dropped when the table grows.
    if (buckets_.size() > 100000) {
        for (auto it = buckets_.begin(); it != buckets_.end();) {
            const double seconds = std::chrono::duration<double>(now - it->second.at).count();
            if (it->second.tokens + seconds * perMinute_ / 60.0 >= burst_)
                it = buckets_.erase(it);
            else
                ++it;
        }
    }
    auto [it, fresh] = buckets_.try_emplace(key, Bucket{burst_, now});
    Bucket& b = it->second;
    if (!fresh) {
        const double seconds = std::max(0.0, std::chrono::duration<double>(now - b.at).count());
        b.tokens = std::min(burst_, b.tokens + seconds * perMinute_ / 60.0);
        b.at = now;
    }
    if (b.tokens >= 1.0) {
        b.tokens -= 1.0;
        return true;
    }
    retryAfter = std::max(1, static_cast<int>(std::ceil((1.0 - b.tokens) * 60.0 / perMinute_)));
    return false;
}

}  // namespace mervox::board
