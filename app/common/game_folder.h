// Where the game reads its data and writes the player's files.
//
// The game folder is the first of these whose data/ holds the game's
// pictures: the current directory (the player's own game folder, as
// always); the program's own folder (a build's build/game, started from
// anywhere); the installation. A game folder is used as it is: everything
// is read and written there. An installation's data is read from the data
// folder the build placed beside the program's folder (<prefix>/share/mervox
// beside bin/, or /usr/share/games/mervox beside /usr/games), and the
// player's files (config.txt, controls.txt, data/scr.hsc, data/replay.dat,
// screenshots/) go to $XDG_DATA_HOME/mervox, by default
// ~/.local/share/mervox. That folder becomes a game folder of its own: its
// data/ and snd/ hold links to the installed files, so every part of the
// game finds both under one folder.
#pragma once

#include <string>

namespace mervox {

struct GameFolder {
    std::string dir;        // what the program runs in
    bool installed = false;
};

// The installation's data folder, relative to the program's folder, as the
// build set it (../share/mervox, or ../share/games/mervox for /usr/games).
extern const char* const kDataFromProgram;

// The installed data folder for a program at `exePath`: its folder joined
// with `dataFromProgram`.
std::string InstalledDataDir(const std::string& exePath, const std::string& dataFromProgram);

// The player's folder: $XDG_DATA_HOME/mervox when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/mervox; empty without either.
std::string PlayerDataDir(const char* xdgDataHome, const char* home);

// Whether `dir`/data holds the game's pictures (any of its sprite sheets,
// damaged or not): the mark of a game folder. A folder whose data/ holds
// only recordings (a source tree's) is not one.
bool HoldsGameFiles(const std::string& dir);

// The places a game folder is looked for, in order; empty ones are skipped.
struct FolderSearch {
    std::string currentDir;        // "." for the current directory
    std::string programDir;        // the running program's folder
    std::string installedDataDir;  // InstalledDataDir of the running program
    std::string playerDir;         // PlayerDataDir of the environment
};

// Chooses the folder as described above. In the installed case makes the
// player's folder and its links to the installed data (the player's own
// files are left alone; links to files no longer installed are removed and
// links to another installation's files replaced). False, with the reason,
// when no place holds the game's files (the reason names every folder looked
// in and how to run the game) or the player's folder cannot be made.
bool ChooseGameFolder(const FolderSearch& where, GameFolder& out, std::string& why);

// The recording a command line names: as given when it is absolute or is
// there from the current directory; otherwise the same path in the game
// folder, so that `--replay data/demo1.dat` and `--watch data/replay.dat`
// work from anywhere. A path found nowhere is returned as given, for the
// error message.
std::string FindRecording(const std::string& given, const GameFolder& folder);

// ChooseGameFolder for this process: the current directory, the running
// program's folder and installation, the environment.
bool ChooseOwnGameFolder(GameFolder& out, std::string& why);

}  // namespace mervox
