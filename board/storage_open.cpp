#include <cstring>

#include "board/sqlite_storage.h"
#include "board/storage.h"
#ifdef MERVOX_BOARD_POSTGRES
#include "board/pg_storage.h"
#endif

namespace mervox::board {

const char* JobStateName(JobState s) {
    switch (s) {
        case JobState::Pending: return "pending";
        case JobState::Running: return "running";
        case JobState::Verified: return "verified";
        case JobState::Rejected: return "rejected";
        case JobState::Failed: return "failed";
    }
    return "pending";
}

bool ParseJobState(const std::string& word, JobState& out) {
    static constexpr JobState kAll[] = {JobState::Pending, JobState::Running, JobState::Verified,
                                        JobState::Rejected, JobState::Failed};
    for (JobState s : kAll) {
        if (word == JobStateName(s)) {
            out = s;
            return true;
        }
    }
    return false;
}

bool IsPostgresUrl(const std::string& url) {
    return url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0;
}

std::unique_ptr<Storage> OpenStorage(const std::string& url, std::string& error) {
    if (IsPostgresUrl(url)) {
#ifdef MERVOX_BOARD_POSTGRES
        return OpenPgStorage(url, error);
#else
        error = "this mervox-board was built without PostgreSQL";
        return nullptr;
#endif
    }
    return OpenSqliteStorage(url, error);
}

std::unique_ptr<Storage> OpenMigratedStorage(const std::string& url, std::string& error) {
    auto db = OpenStorage(url, error);
    if (!db) return nullptr;
    try {
        db->Migrate();
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    return db;
}

}  // namespace mervox::board
