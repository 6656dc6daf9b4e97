#include "app/common/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef MERVOX_VERSION
#error "the build names the version (CMake's project VERSION)"
#endif
#include "app/viewer/practice_round.h"

namespace mervox {

namespace {

bool ParseInt(const char* text, int& out) {
    if (text == nullptr || *text == '\0') return false;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != '\0' || v < -1000000000L || v > 1000000000L) return false;
    out = static_cast<int>(v);
    return true;
}

bool ParseFrameList(const char* text, std::vector<int>& out) {
    std::string s(text);
    size_t pos = 0;
    while (pos <= s.size()) {
        size_t comma = s.find(',', pos);
        std::string part = s.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        int v = 0;
        if (!ParseInt(part.c_str(), v) || v < 0) return false;
        out.push_back(v);
        if (comma == std::string::npos) break;
        pos = comma + 1;
    }
    return !out.empty();
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine c;
    bool modeGiven = false;
    for (int a = 1; a < argc; ++a) {
        const char* arg = argv[a];
        auto value = [&](const char* name) -> const char* {
            if (a + 1 >= argc) {
                c.error = std::string(name) + " needs a value";
                return nullptr;
            }
            return argv[++a];
        };
        if (std::strcmp(arg, "--headless") == 0) {
            c.headless = true;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            c.help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            c.version = true;
        } else if (std::strcmp(arg, "--replay") == 0) {
            if (const char* v = value(arg)) c.replayPath = v;
        } else if (std::strcmp(arg, "--mode") == 0) {
            modeGiven = true;
            const char* v = value(arg);
            int number = 0;
            if (v && (!ParseInt(v, number) || !RoundModeOfNumber(number, c.mode)))
                c.error = "--mode takes 1 to 5";
        } else if (std::strcmp(arg, "--trace") == 0) {
            if (const char* v = value(arg)) c.tracePath = v;
        } else if (std::strcmp(arg, "--screenshot") == 0) {
            const char* v = value(arg);
            if (v && !ParseFrameList(v, c.screenshotFrames))
                c.error = "--screenshot takes frame numbers separated by commas";
        } else if (std::strcmp(arg, "--out") == 0) {
            if (const char* v = value(arg)) c.outDir = v;
            c.outGiven = true;
        } else if (std::strcmp(arg, "--export") == 0) {
            if (const char* v = value(arg)) c.exportPath = v;
        } else if (std::strcmp(arg, "--from") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.from) || c.from < 1)) c.error = "--from takes a frame number from 1";
        } else if (std::strcmp(arg, "--to") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.to) || c.to < 1)) c.error = "--to takes a frame number from 1";
        } else if (std::strcmp(arg, "--timedemo") == 0) {
            if (const char* v = value(arg)) c.timedemoPath = v;
        } else if (std::strcmp(arg, "--draw-scale") == 0) {
            const char* v = value(arg);
            c.drawScales.clear();
            bool ok = v && ParseFrameList(v, c.drawScales);
            for (int n : c.drawScales) ok = ok && n >= 1 && n <= 4;
            if (v && !ok) c.error = "--draw-scale takes 1 to 4 (several, separated by commas, for --timedemo)";
        } else if (std::strcmp(arg, "--windowed") == 0) {
            c.windowed = true;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            c.fullscreen = true;
        } else if (std::strcmp(arg, "--scale") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.scale) || c.scale < 1 || c.scale > 16))
                c.error = "--scale takes 1 to 16";
        } else if (std::strcmp(arg, "--soak") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.soakRounds) || c.soakRounds < 1 || c.soakRounds > 10000000))
                c.error = "--soak takes 1 to 10000000 rounds";
        } else if (std::strcmp(arg, "--seed") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.seed) || c.seed < 0)) c.error = "--seed takes a number from 0";
        } else if (std::strcmp(arg, "--watch") == 0) {
            if (const char* v = value(arg)) c.watchPath = v;
        } else if (std::strcmp(arg, "--at") == 0) {
            const char* v = value(arg);
            if (v && (!ParseInt(v, c.at) || c.at < 0)) c.error = "--at takes a frame number from 0";
        } else if (std::strcmp(arg, "--take-over") == 0) {
            c.takeOver = true;
        } else if (std::strcmp(arg, "--submit") == 0) {
            if (const char* v = value(arg)) c.submitPath = v;
        } else if (std::strcmp(arg, "--board") == 0) {
            c.showBoard = true;
        } else {
            c.error = std::string("unknown option ") + arg;
        }
        if (!c.error.empty()) break;
    }
    if (c.error.empty() && c.headless && c.replayPath.empty())
        c.error = "--headless needs --replay FILE";
    if (c.error.empty() && c.at >= 0 && c.watchPath.empty()) c.error = "--at needs --watch FILE";
    if (c.error.empty() && c.drawScales.size() > 1 && c.timedemoPath.empty())
        c.error = "several drawing scales need --timedemo";
    if (c.error.empty() && c.takeOver && c.watchPath.empty()) c.error = "--take-over needs --watch FILE";
    if (c.error.empty() && !c.exportPath.empty() && !c.outGiven) c.error = "--export needs --out CLIP";
    if (c.error.empty() && c.exportPath.empty() && (c.from != 1 || c.to != 0))
        c.error = "--from and --to need --export FILE";
    if (c.error.empty() && c.to != 0 && c.to < c.from) c.error = "--to comes before --from";
    // Without --mode a recording plays in the mode its name gives: the
    // tutorial's and its practice rounds' in the tutorial's.
    if (!modeGiven) {
        const std::string& path = !c.watchPath.empty()      ? c.watchPath
                                  : !c.timedemoPath.empty() ? c.timedemoPath
                                  : !c.exportPath.empty()   ? c.exportPath
                                                            : c.replayPath;
        c.mode = DefaultModeFor(path);
    }
    return c;
}

void PrintUsage() {
    std::fputs(
        "usage: mervox [--windowed | --fullscreen] [--scale N]\n"
        "       mervox --headless --replay FILE [--mode N] [--trace PATH]\n"
        "              [--screenshot F[,F...] --out DIR [--draw-scale N]]\n"
        "       mervox --timedemo FILE [--mode N] [--draw-scale N[,N...]]\n"
        "       mervox --export FILE --out CLIP [--mode N] [--from F] [--to F]\n"
        "              [--draw-scale N]\n"
        "       mervox --soak ROUNDS [--seed N]\n"
        "       mervox --watch FILE [--mode N] [--at FRAME] [--take-over]\n"
        "       mervox --submit FILE | --board\n"
        "       mervox --help | --version\n"
        "\n"
        "  --windowed   open a window without asking (--fullscreen: the full screen)\n"
        "  --scale N    the window N times 640x480 (default: the largest that fits)\n"
        "  --headless   play a recording without a window and print the result\n"
        "  --mode N     the round's mode: 1 game, 2 replay, 3 tutorial, 4 and 5 demos\n"
        "  --trace      write the state after every update as JSON lines\n"
        "  --screenshot write the picture after the given updates as PNG files\n"
        "  --timedemo   play a recording drawing every frame as fast as possible\n"
        "  --draw-scale draw the pictures N times finer (N x 640 by N x 480, N 1 to 4);\n"
        "               --timedemo times each scale given\n"
        "  --export     write the recording's round as a video with its sound to CLIP:\n"
        "               .webm (VP9, Opus), .mp4 (H.264, AAC) or .mkv (H.264, FLAC),\n"
        "               the updates --from to --to (default: all of them), drawn N\n"
        "               times finer; Ctrl+C stops it and removes the file\n"
        "  --soak       run the whole program for ROUNDS rounds (attract cycle and\n"
        "               keyboard rounds by a seeded erratic player) with no window,\n"
        "               no waiting and no sound, in a scratch copy of the game\n"
        "               folder, checking every update of every round\n"
        "  --watch      watch a recording: Space pause, . and , one update, - and =\n"
        "               slower and faster, Left/Right 5 s, Down/Up 30 s, Home/End,\n"
        "               PageUp/PageDown the previous and next level-up or chain,\n"
        "               H the overlay, the mouse on the timeline, Escape to leave\n"
        "  --at FRAME   open the recording paused at that frame\n"
        "  --seed N     the soak's erratic player (default 1)\n"
        "  --out DIR    where --screenshot writes (default: the current folder)\n"
        "  --take-over  practise from there: the round is yours at once\n"
        "  --submit     send a recording to the score board of options.txt (board =\n"
        "               http://HOST:PORT, player = NAME) and print its verdict\n"
        "  --board      print the score board's best 20 rounds\n"
        "  The tutorial (tuto.dat) and practice rounds saved from it play in mode 3,\n"
        "  other recordings in mode 1, unless --mode says otherwise\n"
        "  --help       this text; --version the program's version\n",
        stdout);
}

void PrintVersion() { std::printf("mervox %s\n", MERVOX_VERSION); }

}  // namespace mervox
