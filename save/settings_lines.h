// The player's own settings files (controls.txt, options.txt) are lines of
// "word = value", read alike: blank lines and lines starting with '#' are
// the player's and skipped, spaces and CR LF line ends do not matter, and
// a line that is not "word = value" is named (by its number) and ignored,
// so that one bad line never costs the player the others.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace mervox {

struct SettingLine {
    int number = 0;         // from 1
    bool wellFormed = false;  // "word = value"; otherwise to be complained about
    std::string word;       // before the first '=', trimmed
    std::string value;      // after it, trimmed
};

// The lines that are neither blank nor comments, in the file's order.
std::vector<SettingLine> ReadSettingLines(const std::string& text);

// The complaint about a line the reader of a file could not use:
// "line N: what".
std::string LineComplaint(int number, const std::string& what);

// The complaint about a line that is not "word = value".
std::string MalformedLineComplaint(const SettingLine& line);

// Spaces, tabs and CR off both ends.
std::string TrimSetting(const std::string& s);

constexpr size_t kSettingsFileLimit = 64 * 1024;  // more is not a settings file

enum class SettingsFileRead { Missing, TooLarge, Read };

// The file's bytes in `text` when it is there and not over the limit.
SettingsFileRead ReadSettingsFile(const std::string& path, std::string& text);

}  // namespace mervox
