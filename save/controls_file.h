// controls.txt, beside config.txt: the keys and pad buttons of every
// action, one line per action, by readable names:
//
//   kick = Z, pad a
//
// Key names are SDL's key names ("Left", "Left Ctrl", "Z", "F12"); a pad
// button is "pad " and SDL's game-controller name of the button or trigger
// ("pad a", "pad leftshoulder", "pad righttrigger"). Names are checked by
// the platform that uses them, not here.
#pragma once

#include <string>
#include <vector>

namespace mervox {

// The first fourteen are the keys the round and the title poll, in the
// order of HostKey.
enum class ControlAction {
    Left, Up, Right, Down,
    Kick, Jump, TurnLeft, TurnRight,
    Replay, FrameRate, Music, Effects,
    FastForward, Escape,
    Pause, Screenshot,
};
constexpr int kControlActionCount = 16;

struct Controls {
    std::vector<std::string> names[kControlActionCount];
};

// The action's word in the file ("turn_left").
const char* ControlActionWord(ControlAction a);

Controls DefaultControls();

// The file's bytes: a comment block, then "word = name, name" lines.
std::string FormatControls(const Controls& c);

// Reads the text. Blank lines and lines starting with '#' are skipped.
// False (and `c` untouched) when the text is damaged: a line that is not
// "word = names", a word that names no action, an action given twice or
// not at all. An action may be given no names ("pause =").
bool ParseControls(const std::string& text, Controls& c);

// Reads baseDir/controls.txt; a missing or damaged file gives the defaults
// and is written back (a line on stderr says so for a damaged one).
Controls ReadControlsFile(const std::string& baseDir);

}  // namespace mervox
