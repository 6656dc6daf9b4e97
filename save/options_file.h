// options.txt, beside config.txt: the player's own settings that the
// original settings file has no room for, one "name = value" line each:
//
//   colour_marks = on
//   language = en
//   drawing = sharp
//   board = http://HOST:PORT
//   player = NAME
//   board_sending = on
//
// Lines starting with '#' are comments. A damaged line, or one that names
// no option, is complained about and leaves its option at the default; the
// other lines still apply.
#pragma once

#include <string>
#include <vector>

namespace mervox {

enum class LanguageChoice { Desktop, Japanese, English };  // "desktop" (default) | "ja" | "en"
enum class DrawingStyle { Sharp, Classic };                // "sharp" (default) | "classic"

struct Options {
    bool colourMarks = false;                           // colour_marks = off|on
    LanguageChoice language = LanguageChoice::Desktop;  // language = desktop|ja|en
    DrawingStyle drawing = DrawingStyle::Sharp;         // drawing = sharp|classic
    std::string board;          // board = none|http://HOST:PORT: where finished rounds go (none: nowhere)
    std::string player;         // player = NAME: the name they go under on the board
    bool boardSending = true;   // board_sending = on|off
};

// Whether `text` can be a board's address: http:// or https:// and a host,
// no spaces.
bool IsBoardAddressText(const std::string& text);
// Whether `text` can be a player's name on the board: 3 to 16 letters,
// digits, '-' or '_'.
bool IsPlayerNameText(const std::string& text);

bool operator==(const Options& a, const Options& b);
inline bool operator!=(const Options& a, const Options& b) { return !(a == b); }

// The file's bytes: a comment block and one line per option.
std::string FormatOptions(const Options& o);

// Every line that is damaged or names no option adds one complaint (with
// its line number) and leaves that option at its default; the other lines
// still apply. `complaints` may be null.
Options ParseOptions(const std::string& text, std::vector<std::string>* complaints);

// Reads baseDir/options.txt. A missing file gives the defaults silently;
// each complaint is one line on stderr. The file is never rewritten here.
Options ReadOptionsFile(const std::string& baseDir);

// Writes baseDir/options.txt atomically; false (said on stderr, once per
// reason) when it cannot, and the old file stays as it was.
bool WriteOptionsFile(const std::string& baseDir, const Options& o);

}  // namespace mervox
