// mervox-board serve (SQLite) started by a test on 127.0.0.1 in a scratch
// folder, and stopped (SIGTERM, then waited for) when the test is done.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "net/board_api.h"

namespace mervox_test {

class RealBoard {
public:
    // Serves from `folder`/board.db on the port given; running() says
    // whether it answered its health check.
    RealBoard(const std::string& folder, int port) : port_(port) {
        const std::string program = std::string(MERVOX_BINARY_DIR) + "/mervox-board";
        const std::string listen = "127.0.0.1:" + std::to_string(port);
        const std::string db = folder + "/board.db";
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(program.c_str(), program.c_str(), "serve", "--listen", listen.c_str(), "--db", db.c_str(),
                    "--verifiers", "1", "--quiet", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Up to ten seconds for it to answer.
        for (int i = 0; i < 200 && pid_ > 0; ++i) {
            mervox::HttpCall c;
            c.url = base() + "/healthz";
            c.limits.totalMs = 1000;
            const mervox::HttpAnswer a = mervox::PerformHttp(c);
            if (a.outcome == mervox::HttpOutcome::Answered && a.status == 200) {
                running_ = true;
                break;
            }
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~RealBoard() { stop(); }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        running_ = false;
    }

    bool running() const { return running_; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    int port_;
    pid_t pid_ = -1;
    bool running_ = false;
};

}  // namespace mervox_test
