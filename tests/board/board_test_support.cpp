#include "board_test_support.h"

#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace mervox::board::test {

std::vector<TestBackend>& TestBackends() {
    static std::vector<TestBackend> all;
    return all;
}

std::vector<std::string> TestBackendNames() {
    std::vector<std::string> names;
    for (const auto& b : TestBackends()) names.push_back(b.name);
    return names;
}

const TestBackend& FindTestBackend(const std::string& name) {
    for (const auto& b : TestBackends())
        if (b.name == name) return b;
    throw std::runtime_error("no test backend " + name);
}

RegisterTestBackend::RegisterTestBackend(std::string name, std::function<std::string()> freshUrl) {
    TestBackends().push_back(TestBackend{std::move(name), std::move(freshUrl)});
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mervox-board-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

namespace {

// SQLite: a file in a scratch folder kept for the test program's life.
RegisterTestBackend sqliteBackend("sqlite", [] {
    static ScratchDir dir;
    static int count = 0;
    return dir.path + "/board" + std::to_string(++count) + ".db";
});

}  // namespace

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string SourcePath(const std::string& relative) { return std::string(MERVOX_SOURCE_DIR) + "/" + relative; }

ServeOptions TestOptions(const std::string& url, int verifiers) {
    ServeOptions o;
    o.host = "127.0.0.1";
    o.port = 0;
    o.dbUrl = url;
    o.verifiers = verifiers;
    o.addressPerMinute = 0;
    o.namePerMinute = 0;
    o.threads = 4;
    o.log = false;
    return o;
}

LocalBoard::LocalBoard(ServeOptions options) : server(std::make_unique<BoardServer>(std::move(options))) {
    std::string error;
    if (!server->Start(error)) throw std::runtime_error("the board did not start: " + error);
    port = server->Port();
}

LocalBoard::~LocalBoard() { server->Stop(); }

httplib::Client LocalBoard::Client() const {
    httplib::Client c("127.0.0.1", port);
    c.set_connection_timeout(5, 0);
    c.set_read_timeout(20, 0);
    c.set_write_timeout(20, 0);
    return c;
}

namespace {

Reply FromResult(const httplib::Result& r) {
    Reply out;
    if (!r) return out;
    out.status = r->status;
    out.body = r->body;
    out.retryAfter = r->get_header_value("Retry-After");
    out.contentType = r->get_header_value("Content-Type");
    out.csp = r->get_header_value("Content-Security-Policy");
    return out;
}

}  // namespace

Reply Get(httplib::Client& c, const std::string& path) { return FromResult(c.Get(path)); }

Reply Submit(httplib::Client& c, const std::string& name, const std::string& body, const std::string& token) {
    httplib::Headers h;
    if (!token.empty()) h.emplace("X-Mervox-Token", token);
    return FromResult(
        c.Post(("/api/v1/submissions?name=" + httplib::detail::encode_query_param(name)).c_str(), h, body, "text/plain"));
}

std::string RawExchange(int port, const std::string& request) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return {};
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
        char chunk[4096];
        ssize_t n;
        while ((n = recv(fd, chunk, sizeof chunk, 0)) > 0) reply.append(chunk, static_cast<size_t>(n));
    }
    close(fd);
    return reply;
}

nlohmann::json AwaitFinal(httplib::Client& c, int64_t id, int seconds) {
    nlohmann::json j;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    do {
        j = Get(c, "/api/v1/submissions/" + std::to_string(id)).json();
        const std::string state = j.value("state", "");
        if (state != "pending" && state != "running") return j;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < until);
    return j;
}

HeadlessResult RunHeadless(const std::string& recordingPath) {
    HeadlessResult r;
    const std::string cmd = std::string(MERVOX_BINARY_DIR) + "/game/mervox --headless --replay '" + recordingPath +
                            "' --mode 1";
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) return r;
    char line[256] = {};
    if (std::fgets(line, sizeof line, p) != nullptr)
        std::sscanf(line, "score=%ld level=%ld frames=%ld cleared=%ld", &r.score, &r.level, &r.frames, &r.cleared);
    pclose(p);
    return r;
}

std::string Snapshot(const std::string& url) {
    std::string error;
    auto db = OpenStorage(url, error);
    if (!db) return "cannot open: " + error;
    std::ostringstream s;
    const ScorePage page = db->Scores(100, 0);
    s << "total " << page.total << "\n";
    for (const auto& e : page.scores) s << e.rank << " " << e.round.name << " " << e.round.score << "\n";
    for (const auto& r : db->Latest(1000))
        s << r.id << " " << r.name << " " << JobStateName(r.state) << " " << r.score << " " << r.reason << "\n";
    s << "queue " << db->QueueDepth() << "\n";
    return s.str();
}

}  // namespace mervox::board::test
