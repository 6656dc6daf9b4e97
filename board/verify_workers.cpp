#include "board/verify_workers.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "board/recording_check.h"
#include "board/sqlite_storage.h"

namespace mervox::board {

std::string DefaultOwnerPrefix() {
    char host[256] = "localhost";
    if (gethostname(host, sizeof host - 1) != 0) std::snprintf(host, sizeof host, "localhost");
    host[sizeof host - 1] = 0;
    return std::string(host) + ":" + std::to_string(getpid());
}

VerifyWorkers::VerifyWorkers(WorkerOptions options) : options_(std::move(options)) {
    if (options_.ownerPrefix.empty()) options_.ownerPrefix = DefaultOwnerPrefix();
}

VerifyWorkers::~VerifyWorkers() { Stop(); }

bool VerifyWorkers::Start(std::string& error) {
    for (int k = 0; k < options_.workers; ++k) {
        auto storage = OpenStorage(options_.dbUrl, error);
        if (!storage) return false;
        connections_.push_back(std::move(storage));
    }
    for (int k = 0; k < options_.workers; ++k)
        threads_.emplace_back([this, k] { Run(k, connections_[static_cast<size_t>(k)].get()); });
    return true;
}

void VerifyWorkers::Wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++wakeCount_;
    }
    wake_.notify_all();
}

void VerifyWorkers::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& t : threads_)
        if (t.joinable()) t.join();
    threads_.clear();
    connections_.clear();
}

const std::vector<OpeningSource>& VerifyWorkers::Sources(Storage& storage, std::chrono::steady_clock::time_point& readAt,
                                                                 std::vector<OpeningSource>& cache) {
    const auto now = std::chrono::steady_clock::now();
    if (cache.empty() || now - readAt >= std::chrono::seconds(1)) {
        cache = ShippedRecordings();
        for (const BoardRecording& r : storage.TopRecordings(100)) {
            CheckedRecording rec;
            std::string error;
            if (!CheckRecording(r.recording, rec, error)) continue;
            cache.push_back(OpeningSource{r.name + "'s round " + std::to_string(r.id), r.nameKey, r.id,
                                          std::move(rec.records)});
        }
        readAt = now;
    }
    return cache;
}

void VerifyWorkers::Run(int index, Storage* storage) {
    const std::string owner = options_.ownerPrefix + ":" + std::to_string(index);
    std::vector<OpeningSource> cache;
    std::chrono::steady_clock::time_point readAt{};
    const bool announced = IsPostgresUrl(options_.dbUrl);
    while (!stopping_) {
        long seen = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen = wakeCount_;
        }
        std::optional<Job> job;
        try {
            job = storage->ClaimJob(owner, options_.leaseSeconds);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "mervox-board: worker %s cannot claim a job: %s\n", owner.c_str(), e.what());
        }
        if (!job && announced) {
            // PostgreSQL announces each new job: wait for that, in short
            // slices so that a stop is seen, until the slow poll comes round.
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(options_.pollMilliseconds);
            while (!stopping_ && std::chrono::steady_clock::now() < until) {
                bool woken = false;
                try {
                    woken = storage->WaitForJobs(200);
                } catch (const std::exception&) {
                }
                std::lock_guard<std::mutex> lock(mutex_);
                if (woken || wakeCount_ != seen) break;
            }
            continue;
        }
        if (!job) {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait_for(lock, std::chrono::milliseconds(options_.pollMilliseconds),
                           [&] { return stopping_ || wakeCount_ != seen; });
            continue;
        }
        const auto started = std::chrono::steady_clock::now();
        try {
            bool cancelled = false;
            const Verdict v = VerifyJob(*job, Sources(*storage, readAt, cache), &stopping_, &cancelled);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
            if (cancelled) {
                storage->ReleaseJob(job->id, owner);
                if (options_.log)
                    std::fprintf(stderr, "job %lld handed back unfinished (stopping)\n",
                             static_cast<long long>(job->id));
                continue;
            }
            if (!storage->FinishJob(job->id, owner, v)) {
                std::fprintf(stderr, "job %lld: lease lost, result dropped\n", static_cast<long long>(job->id));
                continue;
            }
            ++finished_;
            if (!options_.log) continue;
            if (v.state == JobState::Verified)
                std::fprintf(stderr, "job %lld %s verified score=%lld level=%d frames=%d cleared=%d%s%s %.1f ms\n",
                             static_cast<long long>(job->id), job->name.c_str(), static_cast<long long>(v.score),
                             v.level, v.frames, v.cleared, v.copiedFrom.empty() ? "" : " opening copied from ",
                             v.copiedFrom.c_str(), ms);
            else
                std::fprintf(stderr, "job %lld %s rejected: %s %.1f ms\n", static_cast<long long>(job->id),
                             job->name.c_str(), v.reason.c_str(), ms);
        } catch (const std::exception& e) {
            // The lease runs out and the job is taken again (at most kMaxAttempts times).
            std::fprintf(stderr, "job %lld failed in worker %s: %s\n", static_cast<long long>(job->id),
                         owner.c_str(), e.what());
        }
    }
}

}  // namespace mervox::board
