#include "board/server.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "board/option_values.h"
#include "board/rate_limit.h"
#include "board/recording_check.h"
#include "board/storage.h"
#include "board/verify_workers.h"
#include "board/views.h"

namespace mervox::board {

namespace {

using nlohmann::json;

// Connections for the request threads: one is lent to a request and comes
// back when it is done, so no two threads share one.
class ConnectionPool {
public:
    explicit ConnectionPool(std::string url) : url_(std::move(url)) {}

    class Lease {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<Storage> s) : pool_(pool), s_(std::move(s)) {}
        ~Lease() {
            if (s_) pool_.Return(std::move(s_));
        }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Storage* operator->() { return s_.get(); }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<Storage> s_;
    };

    Lease Take() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!idle_.empty()) {
                auto s = std::move(idle_.back());
                idle_.pop_back();
                return Lease(*this, std::move(s));
            }
        }
        std::string error;
        auto s = OpenStorage(url_, error);
        if (!s) throw StorageError(error);
        return Lease(*this, std::move(s));
    }

private:
    void Return(std::unique_ptr<Storage> s) {
        std::lock_guard<std::mutex> lock(mutex_);
        idle_.push_back(std::move(s));
    }

    std::string url_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Storage>> idle_;
};

constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";

void SendJson(httplib::Response& res, int status, const json& j) {
    res.status = status;
    res.set_content(j.dump(), kJson);
}

void SendError(httplib::Response& res, int status, const std::string& message) {
    SendJson(res, status, json{{"error", message}});
}

// An optional query number; `fallback` when absent. False when present and bad.
bool QueryNumber(const httplib::Request& req, const char* key, long lo, long hi, long fallback, long& out) {
    if (!req.has_param(key)) {
        out = fallback;
        return true;
    }
    return ParseWholeNumber(req.get_param_value(key), lo, hi, out);
}

const char* DefaultMessage(int status) {
    switch (status) {
        case 400: return "the request is not one the board understands";
        case 404: return "there is nothing here";
        case 405: return "that method is not allowed here";
        case 408: return "the request came too slowly";
        case 411: return "send the recording with a Content-Length";
        case 413: return "the body is larger than 256 KiB";
        case 414: return "the address is too long";
        default: return "the board could not answer";
    }
}

}  // namespace

struct BoardServer::Impl {
    explicit Impl(ServeOptions o)
        : options(std::move(o)),
          pool(options.dbUrl),
          byAddress(options.addressPerMinute, options.addressBurst),
          byName(options.namePerMinute, options.nameBurst) {}

    ServeOptions options;
    ConnectionPool pool;
    RateLimiter byAddress;
    RateLimiter byName;
    httplib::Server http;
    std::unique_ptr<VerifyWorkers> workers;
    std::thread listener;
    int port = 0;
    bool stopped = false;

    void Routes();
    void ApiRoutes();
    void PageRoutes();
    void Submit(const httplib::Request& req, httplib::Response& res);

    void SetLimitsAndHeaders();
    void SetGuardsAndLogger();
    bool Bind(std::string& error);
    bool StartVerifiers(std::string& error);
};

namespace {

thread_local std::chrono::steady_clock::time_point tRequestStart;

}  // namespace

void BoardServer::Impl::Submit(const httplib::Request& req, httplib::Response& res) {
    int retry = 0;
    const auto now = RateLimiter::Clock::now();
    if (!byAddress.Allow(req.remote_addr, now, retry)) {
        res.set_header("Retry-After", std::to_string(retry));
        SendError(res, 429, "too many submissions from this address: try again in " + std::to_string(retry) + " s");
        return;
    }
    const std::string name = req.get_param_value("name");
    std::string nameKey, error;
    if (!CheckName(name, nameKey, error)) {
        SendError(res, 400, error);
        return;
    }
    if (!byName.Allow(nameKey, now, retry)) {
        res.set_header("Retry-After", std::to_string(retry));
        SendError(res, 429, "too many submissions under this name: try again in " + std::to_string(retry) + " s");
        return;
    }
    if (req.body.size() > kMaxBodyBytes) {
        SendError(res, 413, DefaultMessage(413));
        return;
    }
    CheckedRecording rec;
    if (!CheckRecording(req.body, rec, error)) {
        SendError(res, 400, error);
        return;
    }
    const std::string token = req.get_header_value("X-Mervox-Token");
    const std::string tokenHash = token.empty() ? std::string() : Sha256Hex(token);
    const std::string newToken = NewToken();
    NewSubmission s{name, nameKey, rec.canonical, rec.digest, static_cast<int>(rec.records.size()), req.remote_addr};
    SubmitResult r;
    {
        auto db = pool.Take();
        r = db->Submit(s, tokenHash, Sha256Hex(newToken), options.maxQueued);
    }
    switch (r.outcome) {
        case SubmitOutcome::Accepted:
        case SubmitOutcome::AcceptedNewName: {
            json j = {{"id", r.id}, {"state", "pending"}};
            if (r.outcome == SubmitOutcome::AcceptedNewName) j["token"] = newToken;
            res.set_header("Location", "/api/v1/submissions/" + std::to_string(r.id));
            SendJson(res, 202, j);
            if (workers) workers->Wake();
            return;
        }
        case SubmitOutcome::WrongToken:
            SendError(res, 401, "the name belongs to someone else");
            return;
        case SubmitOutcome::Duplicate:
            SendJson(res, 409, json{{"error", "the same key changes were submitted before"}, {"id", r.id}});
            return;
        case SubmitOutcome::QueueFull:
            res.set_header("Retry-After", "30");
            SendError(res, 503, "too many rounds are waiting to be verified: try again later");
            return;
    }
}

void BoardServer::Impl::Routes() {
    ApiRoutes();
    PageRoutes();
}

// The JSON answers under /api/v1 and the recordings.
void BoardServer::Impl::ApiRoutes() {
    http.Post("/api/v1/submissions", [this](const httplib::Request& req, httplib::Response& res) { Submit(req, res); });

    http.Get(R"(/api/v1/submissions/(\d+))", [this](const httplib::Request& req, httplib::Response& res) {
        long id = 0;
        if (!ParseWholeNumber(req.matches[1].str(), 1, INT64_MAX, id)) return SendError(res, 404, "no such submission");
        auto db = pool.Take();
        auto row = db->Submission(id);
        if (!row) return SendError(res, 404, "no such submission");
        int64_t rank = 0, total = 0;
        std::string key, error;
        if (row->state == JobState::Verified && CheckName(row->name, key, error)) db->RankOfName(key, rank, total);
        SendJson(res, 200, SubmissionJson(*row, rank, total));
    });

    http.Get("/api/v1/scores", [this](const httplib::Request& req, httplib::Response& res) {
        long limit = 0, offset = 0;
        if (!QueryNumber(req, "limit", 1, 100, 20, limit) || !QueryNumber(req, "offset", 0, 1000000000, 0, offset))
            return SendError(res, 400, "limit is 1 to 100 and offset a number from 0");
        auto db = pool.Take();
        SendJson(res, 200, ScoresJson(db->Scores(static_cast<int>(limit), static_cast<int>(offset))));
    });

    http.Get(R"(/api/v1/players/([^/]+))", [this](const httplib::Request& req, httplib::Response& res) {
        std::string key, error;
        if (!CheckName(req.matches[1].str(), key, error)) return SendError(res, 404, "no such name");
        auto db = pool.Take();
        auto page = db->Player(key, 50);
        if (!page) return SendError(res, 404, "no such name");
        SendJson(res, 200, PlayerJson(*page));
    });

    http.Get(R"(/recordings/(\d+)\.dat)", [this](const httplib::Request& req, httplib::Response& res) {
        long id = 0;
        std::optional<std::string> text;
        if (ParseWholeNumber(req.matches[1].str(), 1, INT64_MAX, id)) {
            auto db = pool.Take();
            text = db->VerifiedRecording(id);
        }
        if (!text) return SendError(res, 404, "no verified round has that number");
        res.set_header("Content-Disposition", "attachment; filename=\"round-" + std::to_string(id) + ".dat\"");
        res.set_content(*text, "text/plain; charset=us-ascii");
    });

}

// The health check, the style sheet and the HTML pages.
void BoardServer::Impl::PageRoutes() {
    http.Get("/healthz", [](const httplib::Request&, httplib::Response& res) { SendJson(res, 200, {{"ok", true}}); });

    http.Get("/style.css", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "max-age=3600");
        res.set_content(StyleSheet(), "text/css; charset=utf-8");
    });

    http.Get("/", [this](const httplib::Request& req, httplib::Response& res) {
        long limit = 0, offset = 0;
        if (!QueryNumber(req, "limit", 1, 100, 50, limit) || !QueryNumber(req, "offset", 0, 1000000000, 0, offset)) {
            res.status = 400;
            res.set_content(NotFoundPage("limit is 1 to 100 and offset a number from 0"), kHtml);
            return;
        }
        auto db = pool.Take();
        const ScorePage page = db->Scores(static_cast<int>(limit), static_cast<int>(offset));
        res.set_content(BoardPage(page, static_cast<int>(limit), static_cast<int>(offset)), kHtml);
    });

    http.Get(R"(/players/([^/]+))", [this](const httplib::Request& req, httplib::Response& res) {
        std::string key, error;
        std::optional<PlayerPage> page;
        if (CheckName(req.matches[1].str(), key, error)) {
            auto db = pool.Take();
            page = db->Player(key, 50);
        }
        if (!page) {
            res.status = 404;
            res.set_content(NotFoundPage("No player has that name."), kHtml);
            return;
        }
        res.set_content(PlayerHtml(*page), kHtml);
    });

    http.Get("/submissions", [this](const httplib::Request&, httplib::Response& res) {
        auto db = pool.Take();
        res.set_content(LatestPage(db->Latest(50)), kHtml);
    });
}

BoardServer::BoardServer(ServeOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

BoardServer::~BoardServer() { Stop(); }

int BoardServer::Port() const { return impl_->port; }

// The threads, the caps and timeouts, and the headers of every answer.
void BoardServer::Impl::SetLimitsAndHeaders() {
    const int threads = std::max(1, options.threads);
    http.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    http.set_payload_max_length(kMaxBodyBytes);
    http.set_read_timeout(options.readTimeoutSeconds, 0);
    http.set_write_timeout(options.readTimeoutSeconds, 0);
    http.set_keep_alive_timeout(5);
    // Headers and body go out as separate writes: without this, Nagle's
    // algorithm holds the body until the client's delayed ACK (40 ms).
    http.set_tcp_nodelay(true);
    http.set_default_headers({
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'self'; img-src 'self'; base-uri 'none'; form-action 'self'; "
         "frame-ancestors 'none'"},
        {"X-Content-Type-Options", "nosniff"},
        {"Referrer-Policy", "no-referrer"},
    });
}

// What every request passes before and after its route: the body's length
// checked, errors and exceptions answered, and the log line.
void BoardServer::Impl::SetGuardsAndLogger() {
    http.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        tRequestStart = std::chrono::steady_clock::now();
        // A body without a length could run past any cap: only bodies that
        // say their length are read.
        if (req.has_header("Transfer-Encoding")) {
            res.set_header("Connection", "close");
            SendError(res, 411, DefaultMessage(411));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.has_header("Content-Length")) {
            long length = 0;
            if (!ParseWholeNumber(req.get_header_value("Content-Length"), 0, INT32_MAX, length) ||
                static_cast<size_t>(length) > kMaxBodyBytes) {
                res.set_header("Connection", "close");
                SendError(res, 413, DefaultMessage(413));
                return httplib::Server::HandlerResponse::Handled;
            }
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty()) SendError(res, res.status, DefaultMessage(res.status));
    });
    http.set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "unknown";
        try {
            if (ep) std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::fprintf(stderr, "mervox-board: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), what.c_str());
        SendError(res, 500, "the board could not answer: its database failed");
    });
    if (options.log) {
        http.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tRequestStart).count();
            std::fprintf(stderr, "%s %s %s %d %zu %.1f ms\n", req.remote_addr.c_str(), req.method.c_str(),
                         req.path.c_str(), res.status, res.body.size(), ms);
        });
    }
}

bool BoardServer::Impl::Bind(std::string& error) {
    if (options.port == 0) {
        port = http.bind_to_any_port(options.host);
        if (port <= 0) {
            error = "cannot listen on " + options.host;
            return false;
        }
    } else {
        if (!http.bind_to_port(options.host, options.port)) {
            error = "cannot listen on " + options.host + ":" + std::to_string(options.port);
            return false;
        }
        port = options.port;
    }
    return true;
}

// The verifying workers, when the board runs any.
bool BoardServer::Impl::StartVerifiers(std::string& error) {
    if (options.verifiers > 0) {
        WorkerOptions w;
        w.dbUrl = options.dbUrl;
        w.workers = options.verifiers;
        w.leaseSeconds = options.leaseSeconds;
        w.log = options.log;
        workers = std::make_unique<VerifyWorkers>(w);
        if (!workers->Start(error)) {
            workers.reset();
            http.stop();
            return false;
        }
    }
    return true;
}

bool BoardServer::Start(std::string& error) {
    Impl& m = *impl_;
    // The database opened once to bring its tables up to date.
    if (!OpenMigratedStorage(m.options.dbUrl, error)) return false;
    m.SetLimitsAndHeaders();
    m.SetGuardsAndLogger();
    m.Routes();
    if (!m.Bind(error) || !m.StartVerifiers(error)) return false;
    httplib::Server& http = m.http;
    m.listener = std::thread([&http] { http.listen_after_bind(); });
    // Stop must find it running, or it would not end it.
    for (int k = 0; k < 1000 && !http.is_running(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return true;
}

void BoardServer::Stop() {
    Impl& m = *impl_;
    if (m.stopped) return;
    m.stopped = true;
    m.http.stop();
    if (m.listener.joinable()) m.listener.join();
    if (m.workers) m.workers->Stop();
    m.workers.reset();
}

}  // namespace mervox::board
