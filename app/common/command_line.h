// The program's command line: which way to run and with what.
#pragma once

#include <string>
#include <vector>

#include "game/state/game_state.h"

namespace mervox {

struct CommandLine {
    bool headless = false;       // --headless: no window, no waiting
    bool help = false;
    bool version = false;        // --version
    std::string replayPath;      // --replay FILE
    RunModeValue mode = RunGame;  // --mode N (RunMode of the played round; else by the file's name)
    std::string tracePath;       // --trace PATH
    std::vector<int> screenshotFrames;  // --screenshot F[,F...]
    std::string outDir = ".";    // --out DIR (with --export: the clip's file)
    bool outGiven = false;
    std::string timedemoPath;    // --timedemo FILE
    std::vector<int> drawScales{1};  // --draw-scale N[,N...]: pictures drawn N times finer (1 to 4)
    bool drawScaleGiven = false;     // --draw-scale was given
    bool windowed = false;       // --windowed: skip the full-screen question
    bool fullscreen = false;     // --fullscreen
    bool paced = false;          // --paced: a timedemo in a window at the game's pacing
    int scale = 0;               // --scale N (0: largest that fits)
    int soakRounds = 0;          // --soak ROUNDS: the whole program on the null platform
    int seed = 1;                // --seed N: the soak's key script
    std::string watchPath;       // --watch FILE: the viewer
    int at = -1;                 // --at FRAME: the viewer opens paused there
    bool takeOver = false;       // --take-over: the viewer hands the round to the player at once
    std::string submitPath;      // --submit FILE: sent to the board, its verdict awaited
    bool showBoard = false;      // --board: the board's best rounds
    std::string exportPath;      // --export FILE: the recording to a video file at --out
    int from = 1;                // --from F: the clip's first update
    int to = 0;                  // --to F: its last (0: the round's end); also a timedemo's last
    std::string error;           // set when the line could not be read
};

CommandLine ParseCommandLine(int argc, char** argv);
void PrintUsage();
// "mervox <version>", the version the build was made as.
void PrintVersion();

}  // namespace mervox
