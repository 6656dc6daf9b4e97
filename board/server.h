// `mervox-board serve`: the HTTP interface, the pages and, with SQLite, the
// verification workers in the same process.
#pragma once

#include <memory>
#include <string>

namespace mervox::board {

struct ServeOptions {
    std::string host = "127.0.0.1";
    int port = 8080;           // 0: any free port (see BoardServer::Port)
    std::string dbUrl = "board.db";
    int verifiers = 1;         // worker threads in this process; 0: none
    int leaseSeconds = 60;
    long maxQueued = 10000;    // more jobs waiting than this: 503
    double addressPerMinute = 30, addressBurst = 10;  // 0 per minute: no limit
    double namePerMinute = 12, nameBurst = 5;
    int readTimeoutSeconds = 10;
    int threads = 64;          // connections served at once
    bool log = true;           // one line a request and a job on stderr
};

class BoardServer {
public:
    explicit BoardServer(ServeOptions options);
    ~BoardServer();
    BoardServer(const BoardServer&) = delete;
    BoardServer& operator=(const BoardServer&) = delete;

    // Opens and migrates the database, binds the address and starts serving
    // and verifying on threads of its own. False with `error` otherwise.
    bool Start(std::string& error);
    // The port bound (the one asked for, or the free one chosen for 0).
    int Port() const;
    // Stops serving; a job being verified is handed back for later.
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace mervox::board
