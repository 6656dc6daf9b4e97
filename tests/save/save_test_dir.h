// A fresh temporary game folder per test, removed afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace mervox_test {

struct TempGameDir {
    std::filesystem::path path;
    explicit TempGameDir(bool withData = true) {
        char pattern[] = "/tmp/mervox-save-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made ? made : "/tmp/mervox-save-fallback";
        if (withData) std::filesystem::create_directories(path / "data");
    }
    ~TempGameDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string dir() const { return path.string(); }
    void write(const std::string& rel, const std::string& bytes) const {
        std::ofstream out(path / rel, std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& rel) const {
        std::ifstream in(path / rel, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    bool exists(const std::string& rel) const { return std::filesystem::exists(path / rel); }
};

}  // namespace mervox_test
