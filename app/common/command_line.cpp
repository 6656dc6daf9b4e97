#include "app/common/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef MERVOX_VERSION
#error "the build names the version (CMake's project VERSION)"
#endif
#include "app/common/playback_round.h"

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

// The arguments as they are read: an option's value is the next one.
struct Arguments {
    int argc;
    char** argv;
    int a = 1;
    CommandLine& c;

    // The value of option `name`, or null with the error set when none follows.
    const char* value(const char* name) {
        if (a + 1 >= argc) {
            c.error = std::string(name) + " needs a value";
            return nullptr;
        }
        return argv[++a];
    }
};

bool Is(const char* arg, const char* name) { return std::strcmp(arg, name) == 0; }

// The options of the ways a recording is played, drawn, exported and
// watched. False when `arg` is none of them.
bool ParseRecordingOption(Arguments& args, const char* arg, bool& modeGiven) {
    CommandLine& c = args.c;
    if (Is(arg, "--replay")) {
        if (const char* v = args.value(arg)) c.replayPath = v;
    } else if (Is(arg, "--mode")) {
        modeGiven = true;
        const char* v = args.value(arg);
        int number = 0;
        if (v && (!ParseInt(v, number) || !RoundModeOfNumber(number, c.mode))) c.error = "--mode takes 1 to 5";
    } else if (Is(arg, "--trace")) {
        if (const char* v = args.value(arg)) c.tracePath = v;
    } else if (Is(arg, "--screenshot")) {
        const char* v = args.value(arg);
        if (v && !ParseFrameList(v, c.screenshotFrames))
            c.error = "--screenshot takes frame numbers separated by commas";
    } else if (Is(arg, "--out")) {
        if (const char* v = args.value(arg)) c.outDir = v;
        c.outGiven = true;
    } else if (Is(arg, "--export")) {
        if (const char* v = args.value(arg)) c.exportPath = v;
    } else if (Is(arg, "--from")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.from) || c.from < 1)) c.error = "--from takes a frame number from 1";
    } else if (Is(arg, "--to")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.to) || c.to < 1)) c.error = "--to takes a frame number from 1";
    } else if (Is(arg, "--timedemo")) {
        if (const char* v = args.value(arg)) c.timedemoPath = v;
    } else if (Is(arg, "--draw-scale")) {
        c.drawScaleGiven = true;
        const char* v = args.value(arg);
        c.drawScales.clear();
        bool ok = v && ParseFrameList(v, c.drawScales);
        for (int n : c.drawScales) ok = ok && n >= 1 && n <= 4;
        if (v && !ok) c.error = "--draw-scale takes 1 to 4 (several, separated by commas, for --timedemo)";
    } else if (Is(arg, "--watch")) {
        if (const char* v = args.value(arg)) c.watchPath = v;
    } else if (Is(arg, "--at")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.at) || c.at < 0)) c.error = "--at takes a frame number from 0";
    } else if (Is(arg, "--take-over")) {
        c.takeOver = true;
    } else if (Is(arg, "--paced")) {
        c.paced = true;
    } else {
        return false;
    }
    return true;
}

// The options of the program itself: its window, the soak, the score
// board, help and version. False when `arg` is none of them.
bool ParseProgramOption(Arguments& args, const char* arg) {
    CommandLine& c = args.c;
    if (Is(arg, "--headless")) {
        c.headless = true;
    } else if (Is(arg, "--help") || Is(arg, "-h")) {
        c.help = true;
    } else if (Is(arg, "--version")) {
        c.version = true;
    } else if (Is(arg, "--windowed")) {
        c.windowed = true;
    } else if (Is(arg, "--fullscreen")) {
        c.fullscreen = true;
    } else if (Is(arg, "--scale")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.scale) || c.scale < 1 || c.scale > 16)) c.error = "--scale takes 1 to 16";
    } else if (Is(arg, "--soak")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.soakRounds) || c.soakRounds < 1 || c.soakRounds > 10000000))
            c.error = "--soak takes 1 to 10000000 rounds";
    } else if (Is(arg, "--seed")) {
        const char* v = args.value(arg);
        if (v && (!ParseInt(v, c.seed) || c.seed < 0)) c.error = "--seed takes a number from 0";
    } else if (Is(arg, "--submit")) {
        if (const char* v = args.value(arg)) c.submitPath = v;
    } else if (Is(arg, "--board")) {
        c.showBoard = true;
    } else {
        return false;
    }
    return true;
}

// The options that need one another, and their order; the first fault found.
std::string CombinationError(const CommandLine& c) {
    if (c.headless && c.replayPath.empty()) return "--headless needs --replay FILE";
    if (c.at >= 0 && c.watchPath.empty()) return "--at needs --watch FILE";
    if (c.drawScales.size() > 1 && c.timedemoPath.empty()) return "several drawing scales need --timedemo";
    const bool timedemoInWindow = !c.timedemoPath.empty() && (c.windowed || c.fullscreen);
    if (c.paced && !timedemoInWindow) return "--paced needs --timedemo FILE with --windowed or --fullscreen";
    if (timedemoInWindow && c.drawScaleGiven) return "a timedemo in a window draws at the window's scale: no --draw-scale";
    if (c.takeOver && c.watchPath.empty()) return "--take-over needs --watch FILE";
    if (!c.exportPath.empty() && !c.outGiven) return "--export needs --out CLIP";
    // A timedemo may stop early (--to); only a clip starts late.
    if (c.exportPath.empty() && (c.from != 1 || (c.to != 0 && c.timedemoPath.empty())))
        return "--from and --to need --export FILE";
    if (c.to != 0 && c.to < c.from) return "--to comes before --from";
    return {};
}

// The recording a command line plays, for the mode its name gives.
const std::string& RecordingNamed(const CommandLine& c) {
    return !c.watchPath.empty()      ? c.watchPath
           : !c.timedemoPath.empty() ? c.timedemoPath
           : !c.exportPath.empty()   ? c.exportPath
                                     : c.replayPath;
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine c;
    bool modeGiven = false;
    for (Arguments args{argc, argv, 1, c}; args.a < argc; ++args.a) {
        const char* arg = argv[args.a];
        if (!ParseRecordingOption(args, arg, modeGiven) && !ParseProgramOption(args, arg))
            c.error = std::string("unknown option ") + arg;
        if (!c.error.empty()) break;
    }
    if (c.error.empty()) c.error = CombinationError(c);
    // Without --mode a recording plays in the mode its name gives: the
    // tutorial's and its practice rounds' in the tutorial's.
    if (!modeGiven) c.mode = DefaultModeFor(RecordingNamed(c));
    return c;
}

void PrintUsage() {
    std::fputs(
        "usage: mervox [--windowed | --fullscreen] [--scale N]\n"
        "       mervox --headless --replay FILE [--mode N] [--trace PATH]\n"
        "              [--screenshot F[,F...] --out DIR [--draw-scale N]]\n"
        "       mervox --timedemo FILE [--mode N] [--to F] [--draw-scale N[,N...]]\n"
        "       mervox --timedemo FILE [--mode N] [--to F] (--windowed [--scale N] | --fullscreen)\n"
        "              [--paced]\n"
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
        "  --timedemo   play a recording drawing every frame as fast as possible;\n"
        "               with --windowed or --fullscreen in the game's window, timing\n"
        "               drawing, upload and showing of every frame (--paced: at the\n"
        "               game's 60 updates a second); --to F stops after update F\n"
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
