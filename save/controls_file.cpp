#include "save/controls_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

struct ActionEntry {
    const char* word;
    std::vector<std::string> (*defaults)();
};

#define MERVOX_CONTROL_ACTION_ENTRY(name, word, ...) \
    {word, [] { return std::vector<std::string>{__VA_ARGS__}; }},
const ActionEntry kEntries[kControlActionCount] = {MERVOX_CONTROL_ACTIONS(MERVOX_CONTROL_ACTION_ENTRY)};
#undef MERVOX_CONTROL_ACTION_ENTRY

constexpr size_t kFileLimit = 64 * 1024;  // more is not a controls file

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

int ActionOfWord(const std::string& word) {
    for (int i = 0; i < kControlActionCount; ++i)
        if (word == kEntries[i].word) return i;
    return -1;
}

std::string ActionLine(int action, const std::vector<std::string>& names) {
    std::string s = kEntries[action].word;
    s += " =";
    for (size_t k = 0; k < names.size(); ++k) {
        s += k == 0 ? " " : ", ";
        s += names[k];
    }
    return s + "\n";
}

}  // namespace

#define MERVOX_CONTROL_ACTION_VALUE(name, ...) ControlAction::name,
const ControlAction kControlActions[kControlActionCount] = {MERVOX_CONTROL_ACTIONS(MERVOX_CONTROL_ACTION_VALUE)};
#undef MERVOX_CONTROL_ACTION_VALUE

const char* ControlActionWord(ControlAction a) {
    const int i = static_cast<int>(a);
    return i >= 0 && i < kControlActionCount ? kEntries[i].word : "";
}

Controls DefaultControls() {
    Controls c;
    for (int i = 0; i < kControlActionCount; ++i) c.names[i] = kEntries[i].defaults();
    return c;
}

std::string FormatControls(const Controls& c) {
    std::string s =
        "# mervox controls: one line per action, its keys and pad buttons separated by commas.\n"
        "# Keys by their SDL names (Left, Left Ctrl, Z, F12, Keypad 4, ...); pad buttons as\n"
        "# \"pad \" and the SDL button name: a b x y back start leftshoulder rightshoulder\n"
        "# dpup dpdown dpleft dpright leftstick rightstick, and the triggers lefttrigger\n"
        "# righttrigger. The left stick always moves like the arrows. The comma key is Comma.\n"
        "# The watch_ keys work only while a recording is watched and may share the round's.\n";
    for (int i = 0; i < kControlActionCount; ++i) s += ActionLine(i, c.names[i]);
    return s;
}

bool ParseControls(const std::string& text, Controls& c, std::vector<ControlAction>* missing) {
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
    const Controls defaults = DefaultControls();
    for (int i = 0; i < kControlActionCount; ++i) {
        if (seen[i]) continue;
        read.names[i] = defaults.names[i];
        if (missing != nullptr) missing->push_back(kControlActions[i]);
    }
    c = read;
    return true;
}

Controls ReadControlsFile(const std::string& baseDir, bool writeBack) {
    const std::string path = baseDir + "/controls.txt";
    std::ifstream in(path, std::ios::binary);
    Controls c = DefaultControls();
    std::string text;
    if (in) {
        text.assign(kFileLimit + 1, '\0');
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
        std::vector<ControlAction> missing;
        if (text.size() <= kFileLimit && ParseControls(text, c, &missing)) {
            if (missing.empty() || !writeBack) return c;
            // Older than some actions: their default lines go at the end.
            if (!text.empty() && text.back() != '\n') text += "\n";
            for (ControlAction a : missing) {
                const int i = static_cast<int>(a);
                text += ActionLine(i, c.names[i]);
            }
        } else {
            std::fprintf(stderr, "mervox: %s is damaged; the default controls are used%s\n", path.c_str(),
                         writeBack ? " and written back" : "");
            text = FormatControls(c);
        }
    } else {
        text = FormatControls(c);
    }
    if (writeBack && !WriteFileAtomically(path, text)) ReportSaveFailure(path, errno);
    return c;
}

}  // namespace mervox
