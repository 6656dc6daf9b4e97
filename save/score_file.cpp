#include "save/score_file.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

constexpr char kScorePath[] = "/data/scr.hsc";
constexpr int kMaxDigits = 10;  // enough for every 32-bit score

}  // namespace

std::string FormatHighScores(const uint32_t scores[3]) {
    char text[64];
    std::snprintf(text, sizeof text, "%06u\r\n%06u\r\n%06u", scores[0], scores[1], scores[2]);
    return text;
}

int ParseHighScores(const std::string& text, uint32_t scores[3]) {
    size_t p = 0;
    const size_t n = text.size();
    for (int k = 0; k < 3; ++k) {
        while (p < n && std::isspace(static_cast<unsigned char>(text[p]))) ++p;
        const size_t start = p;
        uint64_t v = 0;
        while (p < n && std::isdigit(static_cast<unsigned char>(text[p])) && p - start < kMaxDigits + 1) {
            v = v * 10 + static_cast<uint64_t>(text[p] - '0');
            ++p;
        }
        const size_t digits = p - start;
        if (digits == 0 || digits > kMaxDigits || v > UINT32_MAX) return k;
        scores[k] = static_cast<uint32_t>(v);
    }
    return 3;
}

bool ReadHighScoreFile(GameState& g, const std::string& baseDir) {
    std::ifstream in(baseDir + kScorePath, std::ios::binary);
    if (!in) {
        for (int k = 0; k < 3; ++k) g.HighScores[k] = kDefaultHighScores[k];
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    ParseHighScores(text.str(), g.HighScores);
    return true;
}

bool WriteHighScoreFile(const GameState& g, const std::string& baseDir) {
    if (WriteFileAtomically(baseDir + kScorePath, FormatHighScores(g.HighScores))) return true;
    ReportSaveFailure(baseDir + kScorePath, errno);
    return false;
}

}  // namespace mervox
