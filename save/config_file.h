// config.txt: the drawn frame rate, music and sound-effect settings.
//
// Three lines "KEY\t= value  (comment)" with the keys padded to nine
// characters, Shift-JIS comments and CR LF line ends, no line end after the
// last line. Only the first three lines are read; a line is recognised by
// its first nine characters.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

// The file's bytes for the given settings: FRAMERATE is written as
// 60 / frameSkip.
std::string FormatConfig(int frameSkip, int bgmMode, int seMode);

// Applies the reading rules to the text of a config file: FrameSkip,
// BGMMODE and SEMODE start at 1, 0 and 0 and each recognised line may
// change them once. A line whose value cannot be read changes nothing.
void ParseConfig(const std::string& text, GameState& g);

// The FrameSkip a FRAMERATE value maps to, before the final 1..10 check.
int FrameSkipForRate(int rate);

// Reads baseDir/config.txt. When it cannot be opened the settings take
// their defaults and a default file is written; returns false then.
bool ReadConfigFile(GameState& g, const std::string& baseDir);

// Reads baseDir/config.txt for a program that only looks (the replay
// viewer): the settings it holds, or the defaults when it cannot be
// opened; nothing is written.
void PeekConfigFile(GameState& g, const std::string& baseDir);

// Replaces baseDir/config.txt with the current settings. Returns false
// (leaving the old file whole) when it cannot be written.
bool WriteConfigFile(const GameState& g, const std::string& baseDir);

}  // namespace mervox
