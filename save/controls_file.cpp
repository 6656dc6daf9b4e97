#include "save/controls_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

constexpr const char* kWords[kControlActionCount] = {
    "left",    "up",        "right", "down",    "kick",         "jump",   "turn_left", "turn_right",
    "replay",  "framerate", "music", "effects", "fast_forward", "escape", "pause",     "screenshot",
};

constexpr size_t kFileLimit = 64 * 1024;  // more is not a controls file

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

int ActionOfWord(const std::string& word) {
    for (int i = 0; i < kControlActionCount; ++i)
        if (word == kWords[i]) return i;
    return -1;
}

}  // namespace

const char* ControlActionWord(ControlAction a) {
    const int i = static_cast<int>(a);
    return i >= 0 && i < kControlActionCount ? kWords[i] : "";
}

Controls DefaultControls() {
    Controls c;
    auto set = [&c](ControlAction a, std::vector<std::string> names) { c.names[static_cast<int>(a)] = names; };
    set(ControlAction::Left, {"Left", "pad dpleft"});
    set(ControlAction::Up, {"Up", "pad dpup"});
    set(ControlAction::Right, {"Right", "pad dpright"});
    set(ControlAction::Down, {"Down", "pad dpdown"});
    set(ControlAction::Kick, {"Z", "pad a"});
    set(ControlAction::Jump, {"X", "pad b"});
    set(ControlAction::TurnLeft, {"Q", "pad x", "pad leftshoulder"});
    set(ControlAction::TurnRight, {"E", "pad y", "pad rightshoulder"});
    set(ControlAction::Replay, {"R", "pad x"});
    // The title polls no arrows and no turns: the pad's shoulders and y
    // change its settings there.
    set(ControlAction::FrameRate, {"F", "pad leftshoulder"});
    set(ControlAction::Music, {"B", "pad rightshoulder"});
    set(ControlAction::Effects, {"S", "pad y"});
    set(ControlAction::FastForward, {"Left Ctrl", "Right Ctrl", "pad righttrigger"});
    set(ControlAction::Escape, {"Escape", "pad back"});
    set(ControlAction::Pause, {"P", "pad start"});
    set(ControlAction::Screenshot, {"F12"});
    return c;
}

std::string FormatControls(const Controls& c) {
    std::string s =
        "# mervox controls: one line per action, its keys and pad buttons separated by commas.\n"
        "# Keys by their SDL names (Left, Left Ctrl, Z, F12, Keypad 4, ...); pad buttons as\n"
        "# \"pad \" and the SDL button name: a b x y back start leftshoulder rightshoulder\n"
        "# dpup dpdown dpleft dpright leftstick rightstick, and the triggers lefttrigger\n"
        "# righttrigger. The left stick always moves like the arrows.\n";
    for (int i = 0; i < kControlActionCount; ++i) {
        s += kWords[i];
        s += " =";
        for (size_t k = 0; k < c.names[i].size(); ++k) {
            s += k == 0 ? " " : ", ";
            s += c.names[i][k];
        }
        s += "\n";
    }
    return s;
}

bool ParseControls(const std::string& text, Controls& c) {
    Controls read;
    bool seen[kControlActionCount] = {};
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == '#') continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos) return false;
        const int action = ActionOfWord(Trim(t.substr(0, eq)));
        if (action < 0 || seen[action]) return false;
        seen[action] = true;
        std::istringstream names(t.substr(eq + 1));
        std::string name;
        while (std::getline(names, name, ',')) {
            name = Trim(name);
            if (!name.empty()) read.names[action].push_back(name);
        }
    }
    for (bool s : seen)
        if (!s) return false;
    c = read;
    return true;
}

Controls ReadControlsFile(const std::string& baseDir) {
    const std::string path = baseDir + "/controls.txt";
    std::ifstream in(path, std::ios::binary);
    Controls c = DefaultControls();
    if (in) {
        std::string text(kFileLimit + 1, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
        if (text.size() <= kFileLimit && ParseControls(text, c)) return c;
        std::fprintf(stderr, "mervox: %s is damaged; the default controls are used and written back\n",
                     path.c_str());
    }
    if (!WriteFileAtomically(path, FormatControls(c))) ReportSaveFailure(path, errno);
    return c;
}

}  // namespace mervox
