// What the board's tests share: the databases they run against, a board
// served on 127.0.0.1, and a small HTTP client for it.
#pragma once

#include <httplib.h>

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "board/server.h"
#include "board/storage.h"

namespace mervox::board::test {

// A kind of database the suite runs against. `freshUrl` makes an empty
// database for one test and returns the address OpenStorage takes.
struct TestBackend {
    std::string name;
    std::function<std::string()> freshUrl;
};

// Every backend registered; SQLite always, others where they can run here.
std::vector<TestBackend>& TestBackends();
std::vector<std::string> TestBackendNames();
const TestBackend& FindTestBackend(const std::string& name);

// Registers a backend from a test file's static initialiser.
struct RegisterTestBackend {
    RegisterTestBackend(std::string name, std::function<std::string()> freshUrl);
};

// A folder of its own under the system's temporary folder, removed with it.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    std::string path;
};

std::string ReadFile(const std::string& path);
std::string SourcePath(const std::string& relative);  // under the source tree

// A board served in this process on a free port of 127.0.0.1.
struct LocalBoard {
    explicit LocalBoard(ServeOptions options);
    ~LocalBoard();
    httplib::Client Client() const;
    int port = 0;
    std::unique_ptr<BoardServer> server;
};

// Options for a test board: quiet, 127.0.0.1, any port, no rate limits.
ServeOptions TestOptions(const std::string& url, int verifiers);

struct Reply {
    int status = 0;  // 0: no answer
    std::string body;
    std::string retryAfter;
    std::string contentType;
    std::string csp;
    nlohmann::json json() const { return nlohmann::json::parse(body, nullptr, false); }
};

Reply Get(httplib::Client& c, const std::string& path);
Reply Submit(httplib::Client& c, const std::string& name, const std::string& body, const std::string& token = "");

// Sends `request` as it is to 127.0.0.1:port and returns all that comes
// back until the server closes the connection (at most 10 s of waiting).
std::string RawExchange(int port, const std::string& request);

// Asks for the submission until its state is final or `seconds` pass
// (a bound on the test, not a measure of speed). The last answer.
nlohmann::json AwaitFinal(httplib::Client& c, int64_t id, int seconds = 60);

// What `mervox --headless --replay FILE --mode 1` prints, as its four numbers.
struct HeadlessResult {
    long score = -1, level = -1, frames = -1, cleared = -1;
};
HeadlessResult RunHeadless(const std::string& recordingPath);

// Everything the board holds, as the storage reads it: to show that a
// refused request changed nothing.
std::string Snapshot(const std::string& url);

}  // namespace mervox::board::test
