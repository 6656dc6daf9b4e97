// data/scr.hsc: the three best scores, best first.
//
// Written as "%06d" lines with CR LF between them and no line end after the
// third. A score of a million or more is written with all its digits and
// read back whole, so no score is ever cut; files of six-digit lines read
// as they always did.
#pragma once

#include <cstdint>
#include <string>

#include "game/state/game_state.h"

namespace mervox {

constexpr uint32_t kDefaultHighScores[3] = {20000, 8000, 3000};

// The file's bytes for the table.
std::string FormatHighScores(const uint32_t scores[3]);

// Reads up to three numbers from the text into scores[0..2], skipping white
// space before each. Reading stops at the first number that cannot be read
// (not a digit, or too large for 32 bits); the entries not read keep their
// values. Returns how many were read.
int ParseHighScores(const std::string& text, uint32_t scores[3]);

// Reads baseDir/data/scr.hsc into g.HighScores; a file that cannot be opened
// gives the default table. Returns false in that case.
bool ReadHighScoreFile(GameState& g, const std::string& baseDir);

// Replaces baseDir/data/scr.hsc. False (old file left whole) on failure.
bool WriteHighScoreFile(const GameState& g, const std::string& baseDir);

}  // namespace mervox
