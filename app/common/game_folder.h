// Where the game reads its data and writes the player's files.
//
// Run from a game folder (the current directory holds data/), everything is
// read and written there, as always. Run from an installation, the data is
// read from <prefix>/share/mervox beside the program's bin/, and the
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

// The installed data folder for a program at `exePath`
// (<prefix>/bin/mervox gives <prefix>/share/mervox).
std::string InstalledDataDir(const std::string& exePath);

// The player's folder: $XDG_DATA_HOME/mervox when XDG_DATA_HOME is an
// absolute path, else $HOME/.local/share/mervox; empty without either.
std::string PlayerDataDir(const char* xdgDataHome, const char* home);

// Chooses the folder as described above; with neither a game folder nor an
// installation, the current directory. In the installed case makes the
// player's folder and its links to the installed data (links already
// there, and the player's own files, are left alone). False, with the
// reason, when the player's folder cannot be made.
bool ChooseGameFolder(const std::string& currentDir, const std::string& installedDataDir,
                      const std::string& playerDir, GameFolder& out, std::string& why);

// The recording a command line names: as given when it is absolute or is
// there from the current directory; otherwise, for an installed game, the
// same path in the player's folder, so that `--replay data/demo1.dat` and
// `--watch data/replay.dat` work from anywhere. A path found nowhere is
// returned as given, for the error message.
std::string FindRecording(const std::string& given, const GameFolder& folder);

// ChooseGameFolder for this process: the current directory, the running
// program's installation, the environment.
bool ChooseOwnGameFolder(GameFolder& out, std::string& why);

}  // namespace mervox
