#include "platform/clock.h"

#include <time.h>

namespace mervox {

namespace {

int64_t NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

int64_t OriginNs() {
    static const int64_t origin = NowNs();
    return origin;
}

// Wake this long after a tick so the clock has certainly moved on.
constexpr int64_t kWakeMarginNs = 20'000;

}  // namespace

uint32_t ClockMs() {
    return static_cast<uint32_t>((NowNs() - OriginNs()) / 1'000'000);
}

void SleepOneTick() {
    const int64_t since = NowNs() - OriginNs();
    const int64_t next = (since / 1'000'000 + 1) * 1'000'000 + kWakeMarginNs;
    const int64_t target = OriginNs() + next;
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(target / 1'000'000'000);
    ts.tv_nsec = static_cast<long>(target % 1'000'000'000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != 0) {
    }
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

double ClockSeconds() {
    return static_cast<double>(NowNs() - OriginNs()) * 1e-9;
}

}  // namespace mervox
