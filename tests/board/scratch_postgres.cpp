#ifdef MERVOX_BOARD_POSTGRES
#include "scratch_postgres.h"

#include <libpq-fe.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace mervox_test {
namespace {

std::string RunScript(const std::string& args, int* status) {
    const std::string cmd = std::string("bash '") + MERVOX_SOURCE_DIR "/scripts/pg_scratch.sh' " + args;
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (p == nullptr) {
        *status = -1;
        return out;
    }
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    *status = pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// The cluster this program started itself (none under ctest).
class OwnCluster : public ::testing::Environment {
public:
    void TearDown() override { Stop(); }
    ~OwnCluster() override { Stop(); }

    std::string url;
    std::string error;
    std::string dir;
    bool tried = false;

    void Start() {
        tried = true;
        char tmpl[] = "/tmp/mervox-pg-XXXXXX";
        if (mkdtemp(tmpl) == nullptr) {
            error = "no scratch folder for PostgreSQL";
            return;
        }
        dir = tmpl;
        int status = 0;
        url = RunScript("start " + dir, &status);
        if (status != 0 || url.rfind("postgresql://", 0) != 0) {
            error = "scripts/pg_scratch.sh could not start a cluster in " + dir;
            url.clear();
            Stop();
        }
    }
    void Stop() {
        if (dir.empty()) return;
        int status = 0;
        RunScript("stop " + dir, &status);
        dir.clear();
    }
};

std::mutex g_lock;
OwnCluster* g_own = nullptr;

std::string ClusterUrl(std::string* error) {
    if (const char* env = std::getenv("MERVOX_TEST_PG_URL"); env != nullptr && *env != '\0') return env;
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_own == nullptr) {
        // GoogleTest owns the environment and tears it down after the last test.
        g_own = new OwnCluster;
        ::testing::AddGlobalTestEnvironment(g_own);
    }
    if (!g_own->tried) g_own->Start();
    *error = g_own->error;
    return g_own->url;
}

// postgresql://postgres@/postgres?host=DIR&port=P with another database.
std::string WithDatabase(const std::string& url, const std::string& db) {
    const std::string::size_type at = url.find("@/");
    const std::string::size_type q = url.find('?');
    if (at == std::string::npos || q == std::string::npos || q < at) return "";
    return url.substr(0, at + 2) + db + url.substr(q);
}

std::string g_last_error;

}  // namespace

std::string FreshPostgresDatabase() {
    static std::atomic<int> counter{0};
    std::string error;
    const std::string cluster = ClusterUrl(&error);
    if (cluster.empty()) {
        std::lock_guard<std::mutex> hold(g_lock);
        g_last_error = error.empty() ? "no PostgreSQL cluster" : error;
        return "";
    }
    PGconn* c = PQconnectdb(cluster.c_str());
    if (PQstatus(c) != CONNECTION_OK) {
        std::lock_guard<std::mutex> hold(g_lock);
        g_last_error = std::string("cannot reach the scratch cluster: ") + PQerrorMessage(c);
        PQfinish(c);
        return "";
    }
    const std::string name =
        "mervox_t_" + std::to_string(getpid()) + "_" + std::to_string(counter.fetch_add(1));
    char* quoted = PQescapeIdentifier(c, name.c_str(), name.size());
    PGresult* r = PQexec(c, (std::string("CREATE DATABASE ") + quoted + " TEMPLATE template0").c_str());
    PQfreemem(quoted);
    const bool made = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!made) {
        std::lock_guard<std::mutex> hold(g_lock);
        g_last_error = std::string("CREATE DATABASE failed: ") + PQerrorMessage(c);
    }
    PQclear(r);
    PQfinish(c);
    return made ? WithDatabase(cluster, name) : "";
}

std::string ScratchPostgresError() {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_last_error;
}

}  // namespace mervox_test
#endif  // MERVOX_BOARD_POSTGRES
