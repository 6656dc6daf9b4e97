#include "net/board_token.h"

#include <cerrno>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

constexpr size_t kFileLimit = 256 * 1024;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "";
    std::string text(kFileLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text.size() > kFileLimit ? "" : text;
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
    std::istringstream in(ReadAll(BoardTokenPath(baseDir)));
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
    const std::string old = ReadAll(path);
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
