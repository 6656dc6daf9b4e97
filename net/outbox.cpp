#include "net/outbox.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

constexpr char kSuffix[] = ".dat";
constexpr size_t kReadLimit = 1024 * 1024;

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string OutboxFolder(const std::string& baseDir) { return baseDir + "/outbox"; }

bool Outbox::put(const std::string& recording, std::string* name) const {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    // Names sort by when they were made: the time in microseconds, then the
    // process and a count for rounds kept in the same microsecond.
    static std::atomic<unsigned> count{0};
    const long long micros = std::chrono::duration_cast<std::chrono::microseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    char made[96];
    std::snprintf(made, sizeof made, "round-%016lld-%d-%u%s", micros, static_cast<int>(::getpid()),
                  count.fetch_add(1), kSuffix);
    const std::string path = folder_ + "/" + made;
    if (!WriteFileAtomically(path, recording)) {
        ReportSaveFailure(path, errno);
        return false;
    }
    if (name != nullptr) *name = made;
    return true;
}

std::vector<std::string> Outbox::rounds() const {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder_, ec);
    if (ec) return names;
    for (const auto& entry : it) {
        const std::string n = entry.path().filename().string();
        std::error_code fileEc;
        if (EndsWith(n, kSuffix) && entry.is_regular_file(fileEc)) names.push_back(n);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Outbox::read(const std::string& name, std::string& recording) const {
    std::ifstream in(folder_ + "/" + name, std::ios::binary);
    if (!in) return false;
    std::string text(kReadLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kReadLimit) return false;
    recording = std::move(text);
    return true;
}

bool Outbox::remove(const std::string& name) const {
    return std::remove((folder_ + "/" + name).c_str()) == 0;
}

bool Outbox::setAside(const std::string& name) const {
    std::error_code ec;
    std::filesystem::create_directories(folder_ + "/refused", ec);
    return std::rename((folder_ + "/" + name).c_str(), (folder_ + "/refused/" + name).c_str()) == 0;
}

}  // namespace mervox
