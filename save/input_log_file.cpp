#include "save/input_log_file.h"

#include <cctype>
#include <cerrno>
#include <cstdio>

#include "save/atomic_file.h"

namespace mervox {

const char* InputLogFileName(RunModeValue runMode) {
    switch (runMode) {
        case RunTutorial: return "data/tuto.dat";
        case RunDemo1: return "data/demo1.dat";
        case RunDemo2: return "data/demo2.dat";
        default: return "data/replay.dat";
    }
}

int ParseInputLog(const std::string& text, InputRecord* log) {
    int count = 0;
    size_t pos = 0;
    const size_t n = text.size();
    while (count < kInputLogLength) {
        while (pos < n && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos >= n) break;
        // A record is eight digits: five of frame, three of keys.
        size_t end = pos;
        while (end < n && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
        if (end - pos != 8) break;
        bool digits = true;
        for (size_t k = pos; k < end; ++k)
            if (!std::isdigit(static_cast<unsigned char>(text[k]))) digits = false;
        if (!digits) break;
        const int frame = std::stoi(text.substr(pos, 5));
        const int keys = std::stoi(text.substr(pos + 5, 3));
        if (keys > 255) break;
        log[count++] = InputRecord{frame, static_cast<uint16_t>(keys)};
        pos = end;
    }
    for (int k = count; k < kInputLogLength; ++k) log[k] = InputRecord{0, 0};
    return count;
}

std::string FormatInputLog(const InputRecord* log) {
    std::string out;
    char line[32];
    for (int k = 0; k < kInputLogLength; ++k) {
        const InputRecord& r = log[k];
        if (r.frame == 0 && r.keys == 0) break;
        // A frame past five digits (or below zero) cannot be written in the
        // record's fixed width: the recording ends before it.
        if (r.frame < 0 || r.frame > 99999 || r.keys > 999) break;
        std::snprintf(line, sizeof line, "%05d%03d\r\n", r.frame, static_cast<int>(r.keys));
        out += line;
    }
    return out;
}

bool LoadInputLog(GameState& g, const std::string& baseDir) {
    return LoadInputLogFile(g, baseDir + "/" + InputLogFileName(g.RunMode));
}

bool LoadInputLogFile(GameState& g, const std::string& path) {
    // A folder (or anything else that opens but cannot be read through) is
    // no recording: it must not play as an empty one.
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::string text;
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return false;
    ParseInputLog(text, g.InputLog);
    return true;
}

bool SaveReplay(const GameState& g, const std::string& baseDir) {
    if (WriteFileAtomically(baseDir + "/" + InputLogFileName(RunReplay), FormatInputLog(g.InputLog))) return true;
    ReportSaveFailure(baseDir + "/" + InputLogFileName(RunReplay), errno);
    return false;
}

}  // namespace mervox
