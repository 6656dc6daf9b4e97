// Recordings of key changes: data/replay.dat, tuto.dat, demo1.dat, demo2.dat.
//
// One record per line, "%05d%03d" (frame, keys), CR LF line ends. Reading
// stops at the end of the file, after 6000 records, or at the first token
// that is not a record (eight digits, keys 0..255); the records read so far
// are kept and the rest of the log is zeroed.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

// The file that belongs to a RunMode, relative to the game folder.
const char* InputLogFileName(RunModeValue runMode);

// Parses the text of a recording into the log. Returns the records read.
int ParseInputLog(const std::string& text, InputRecord* log);

// Formats the log as the file's text: records up to the first zero record
// (or all 6000), stopping before a frame that does not fit five digits.
std::string FormatInputLog(const InputRecord* log);

// Reads the recording for g.RunMode from baseDir. A file that cannot be
// opened or read through (a folder, say) leaves the log as it was. Returns
// false in that case.
bool LoadInputLog(GameState& g, const std::string& baseDir);

// Reads a recording from an explicit path into the log (as above).
bool LoadInputLogFile(GameState& g, const std::string& path);

// Writes the log to data/replay.dat under baseDir, replacing the old file
// only once the new one is complete. Returns false when it could not.
bool SaveReplay(const GameState& g, const std::string& baseDir);

}  // namespace mervox
