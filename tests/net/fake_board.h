// A board of the test's own on 127.0.0.1: each test says how it answers
// (well, badly, slowly, not at all) and counts what reached it.
#pragma once

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace mervox_test {

class FakeBoard {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    // On the port given (0: any free one).
    explicit FakeBoard(int port = 0) {
        if (port == 0) port_ = server_.bind_to_any_port("127.0.0.1");
        else if (server_.bind_to_port("127.0.0.1", port)) port_ = port;
        server_.Post(".*", [this](const httplib::Request& q, httplib::Response& r) { answer(q, r); });
        server_.Get(".*", [this](const httplib::Request& q, httplib::Response& r) { answer(q, r); });
        // The socket listens from the bind on: requests wait for the loop.
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~FakeBoard() {
        server_.stop();
        if (thread_.joinable()) thread_.join();
    }

    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int port() const { return port_; }

    void onAnyRequest(Handler h) {
        std::lock_guard<std::mutex> hold(lock_);
        handler_ = std::move(h);
    }
    int requests() const { return requests_.load(); }

    // A JSON answer with the status given.
    static void Json(httplib::Response& r, int status, const std::string& body) {
        r.status = status;
        r.set_content(body, "application/json; charset=utf-8");
    }

private:
    void answer(const httplib::Request& q, httplib::Response& r) {
        requests_ += 1;
        Handler h;
        {
            std::lock_guard<std::mutex> hold(lock_);
            h = handler_;
        }
        if (h) h(q, r);
        else r.status = 500;
    }

    httplib::Server server_;
    int port_ = -1;
    std::thread thread_;
    std::mutex lock_;
    Handler handler_;
    std::atomic<int> requests_{0};
};

// A port on 127.0.0.1 nothing listens on: one the system gave a socket
// that then closed without listening.
inline int ClosedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t n = sizeof a;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

}  // namespace mervox_test
