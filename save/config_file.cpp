#include "save/config_file.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

// The three keys as they stand at the start of a line.
constexpr char kFrameRateKey[] = "FRAMERATE";
constexpr char kBgmKey[] = "BGMMODE  ";
constexpr char kSeKey[] = "SEMODE   ";

// The comments in Shift-JIS, between full-width brackets. The pieces are
// split so that no hexadecimal escape runs into a following digit.
constexpr char kFrameRateComment[] =
    "\x81\x69" "60, 30, 20, 15" "\x82\xa9\x82\xe7\x91\x49\x91\xf0\x81\x6a";
constexpr char kBgmComment[] =
    "\x81\x69" "0:BGM" "\x82\xf0\x8d\xc4\x90\xb6\x82\xb7\x82\xe9"
    ", 1:BGM" "\x82\xf0\x8d\xc4\x90\xb6\x82\xb5\x82\xc8\x82\xa2\x81\x6a";
constexpr char kSeComment[] =
    "\x81\x69" "0:" "\x8c\xf8\x89\xca\x89\xb9\x82\xf0\x8d\xc4\x90\xb6\x82\xb7\x82\xe9"
    ", 1:" "\x8c\xf8\x89\xca\x89\xb9\x82\xf0\x8d\xc4\x90\xb6\x82\xb5\x82\xc8\x82\xa2\x81\x6a";

constexpr size_t kLineLimit = 255;  // characters taken per line read
constexpr int kLinesRead = 3;

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Reads "word = number" from the whole line: a word without white space,
// optional white space, '=', optional white space, an optionally signed
// decimal number. Values beyond the int range saturate. False when the
// number cannot be read.
bool ReadLineValue(const std::string& line, int& value) {
    size_t p = 0;
    const size_t n = line.size();
    while (p < n && IsSpace(line[p])) ++p;
    const size_t wordStart = p;
    while (p < n && !IsSpace(line[p])) ++p;
    if (p == wordStart) return false;
    while (p < n && IsSpace(line[p])) ++p;
    if (p >= n || line[p] != '=') return false;
    ++p;
    while (p < n && IsSpace(line[p])) ++p;
    bool negative = false;
    if (p < n && (line[p] == '+' || line[p] == '-')) {
        negative = line[p] == '-';
        ++p;
    }
    if (p >= n || !std::isdigit(static_cast<unsigned char>(line[p]))) return false;
    long long v = 0;
    while (p < n && std::isdigit(static_cast<unsigned char>(line[p]))) {
        if (v <= INT_MAX) v = v * 10 + (line[p] - '0');
        ++p;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    value = static_cast<int>(v);
    return true;
}

// Splits the text into the lines a buffered text-mode reader would return:
// CR LF counts as one line end, and a line longer than the limit continues
// as the next line read.
std::string NextLine(const std::string& text, size_t& pos, bool& got) {
    got = false;
    std::string line;
    while (pos < text.size() && line.size() < kLineLimit) {
        got = true;
        char c = text[pos];
        if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
            ++pos;
            c = '\n';
        }
        ++pos;
        line += c;
        if (c == '\n') break;
    }
    return line;
}

}  // namespace

std::string FormatConfig(int frameSkip, int bgmMode, int seMode) {
    if (frameSkip < 1) frameSkip = 1;
    char text[512];
    std::snprintf(text, sizeof text,
                  "%s\t= %d  %s\r\n%s\t= %d  %s\r\n%s\t= %d  %s",
                  kFrameRateKey, 60 / frameSkip, kFrameRateComment,
                  kBgmKey, bgmMode, kBgmComment,
                  kSeKey, seMode, kSeComment);
    return text;
}

int FrameSkipForRate(int rate) {
    if (rate < 1 || rate > 60) return 1;
    int skip = 60 / rate;
    if (skip < 1) skip = 1;
    if (skip > 30) skip = 30;
    return skip;
}

void ParseConfig(const std::string& text, GameState& g) {
    g.FrameSkip = 1;
    g.BGMMODE = SoundOn;
    g.SEMODE = SoundOn;
    size_t pos = 0;
    for (int k = 0; k < kLinesRead; ++k) {
        bool got = false;
        const std::string line = NextLine(text, pos, got);
        if (!got) break;
        int v = 0;
        if (!ReadLineValue(line, v)) continue;
        const std::string key = line.substr(0, 9);
        if (key == kFrameRateKey) {
            if (g.FrameSkip == 1) g.FrameSkip = FrameSkipForRate(v);
        } else if (key == kBgmKey) {
            if (g.BGMMODE == SoundOn) g.BGMMODE = v != 0 ? SoundOff : SoundOn;
        } else if (key == kSeKey) {
            if (g.SEMODE == SoundOn) g.SEMODE = v != 0 ? SoundOff : SoundOn;
        }
    }
    if (g.FrameSkip == 0 || g.FrameSkip > 10) g.FrameSkip = 1;
}

void PeekConfigFile(GameState& g, const std::string& baseDir) {
    std::ifstream in(baseDir + "/config.txt", std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    // An empty text leaves ParseConfig's starting values: the defaults.
    ParseConfig(text.str(), g);
}

bool ReadConfigFile(GameState& g, const std::string& baseDir) {
    std::ifstream in(baseDir + "/config.txt", std::ios::binary);
    if (!in) {
        g.FrameSkip = 1;
        g.BGMMODE = SoundOn;
        g.SEMODE = SoundOn;
        WriteConfigFile(g, baseDir);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    ParseConfig(text.str(), g);
    return true;
}

bool WriteConfigFile(const GameState& g, const std::string& baseDir) {
    if (WriteFileAtomically(baseDir + "/config.txt", FormatConfig(g.FrameSkip, g.BGMMODE, g.SEMODE))) return true;
    ReportSaveFailure(baseDir + "/config.txt", errno);
    return false;
}

}  // namespace mervox
