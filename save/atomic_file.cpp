#include "save/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

namespace mervox {

namespace {

bool WriteWithMode(const std::string& path, const std::string& contents, mode_t mode) {
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0) return false;
    // A temporary file left by an earlier run keeps its mode through
    // O_TRUNC: a secret's is set again.
    if (mode == 0600 && ::fchmod(fd, mode) != 0) {
        const int error = errno;
        ::close(fd);
        std::remove(temp.c_str());
        errno = error;
        return false;
    }
    size_t written = 0;
    bool ok = true;
    while (written < contents.size()) {
        errno = 0;
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        written += static_cast<size_t>(n);
    }
    int error = ok ? 0 : (errno != 0 ? errno : ENOSPC);
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        std::remove(temp.c_str());
        errno = error;
        return false;
    }
    // Make the rename itself durable: flush the folder that holds the file.
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& contents) {
    return WriteWithMode(path, contents, 0644);
}

bool WritePrivateFileAtomically(const std::string& path, const std::string& contents) {
    return WriteWithMode(path, contents, 0600);
}

void ReportSaveFailure(const std::string& path, int error) {
    static std::mutex lock;
    static std::set<std::pair<std::string, int>> told;
    std::lock_guard<std::mutex> hold(lock);
    if (!told.insert({path, error}).second) return;
    std::fprintf(stderr, "mervox: cannot save %s (%s); the game goes on with it in memory\n", path.c_str(),
                 std::strerror(error));
}

}  // namespace mervox
