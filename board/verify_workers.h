// Verification workers: threads that claim jobs from the storage, play them
// and write the verdict. `serve` runs them beside the web server (SQLite);
// a separate `verify` process can run them alone (PostgreSQL).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/storage.h"
#include "board/verifier.h"

namespace mervox::board {

struct WorkerOptions {
    std::string dbUrl;
    int workers = 1;
    int leaseSeconds = 60;
    // How long an idle worker sleeps before it looks again when nobody wakes it.
    int pollMilliseconds = 1000;
    // The first part of each worker's lease owner ("host:pid").
    std::string ownerPrefix;
    bool log = true;  // one line a job on stderr
};

class VerifyWorkers {
public:
    explicit VerifyWorkers(WorkerOptions options);
    ~VerifyWorkers();
    VerifyWorkers(const VerifyWorkers&) = delete;
    VerifyWorkers& operator=(const VerifyWorkers&) = delete;

    // Starts the threads. False with `error` when a worker's connection
    // cannot be opened.
    bool Start(std::string& error);
    // Wakes idle workers at once (a submission was just queued).
    void Wake();
    // Stops: a job being played is handed back (taken again later), and the
    // threads are joined.
    void Stop();

    // Jobs finished since the start (verified, rejected), for the log and tests.
    long Finished() const { return finished_.load(); }

private:
    void Run(int index, Storage* storage);
    // The rounds a new round's opening is compared with: the shipped ones
    // and the board's top 100, read again at most once a second.
    const std::vector<OpeningSource>& Sources(Storage& storage, std::chrono::steady_clock::time_point& readAt,
                                       std::vector<OpeningSource>& cache);

    WorkerOptions options_;
    std::vector<std::unique_ptr<Storage>> connections_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
    std::atomic<long> finished_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    long wakeCount_ = 0;
};

// "host:pid", the start of a lease owner's name.
std::string DefaultOwnerPrefix();

}  // namespace mervox::board
