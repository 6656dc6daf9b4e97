#include "net/board_token.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

constexpr size_t kFileLimit = 256 * 1024;

// The file's text; false when it is there but too large to be ours.
bool ReadAll(const std::string& path, std::string& text) {
    text.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return true;
    text.assign(kFileLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() <= kFileLimit) return true;
    text.clear();
    return false;
}

bool Spaceless(const std::string& s) {
    if (s.empty()) return false;
    for (const char ch : s)
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') return false;
    return true;
}

}  // namespace

std::string BoardTokenPath(const std::string& baseDir) { return baseDir + "/board_token.txt"; }

std::string ReadBoardToken(const std::string& baseDir, const std::string& board, const std::string& name) {
    std::string text;
    ReadAll(BoardTokenPath(baseDir), text);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string b, n, t;
        if (words >> b >> n >> t && b == board && n == name) return t;
    }
    return "";
}

bool KeepBoardToken(const std::string& baseDir, const std::string& board, const std::string& name,
                    const std::string& token) {
    const std::string path = BoardTokenPath(baseDir);
    if (!Spaceless(board) || !Spaceless(name) || !Spaceless(token)) return false;
    // A file that cannot be read whole is never replaced: its other
    // tokens would be lost.
    std::string old;
    if (!ReadAll(path, old)) {
        std::fprintf(stderr, "mervox: %s is too large to be a token file; the new token is not kept\n",
                     path.c_str());
        return false;
    }
    std::istringstream in(old);
    std::string out, line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string b, n;
        if (words >> b >> n && b == board && n == name) continue;
        if (!line.empty()) out += line + "\n";
    }
    out += board + " " + name + " " + token + "\n";
    if (WritePrivateFileAtomically(path, out)) return true;
    ReportSaveFailure(path, errno);
    return false;
}

}  // namespace mervox
