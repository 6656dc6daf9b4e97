#include "save/controls_file.h"

#include <cerrno>
#include <cstdio>
#include <sstream>

#include "save/atomic_file.h"
#include "save/settings_lines.h"

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

ControlsRead ParseControls(const std::string& text) {
    ControlsRead r;
    int firstLine[kControlActionCount] = {};
    for (const SettingLine& line : ReadSettingLines(text)) {
        if (!line.wellFormed) {
            r.complaints.push_back(MalformedLineComplaint(line));
            continue;
        }
        const int action = ActionOfWord(line.word);
        if (action < 0) {
            r.complaints.push_back(LineComplaint(line.number, "\"" + line.word + "\" names no action"));
            continue;
        }
        if (firstLine[action] != 0) {
            r.complaints.push_back(LineComplaint(line.number, line.word + " is given on line " +
                                                                  std::to_string(firstLine[action]) +
                                                                  " already"));
            continue;
        }
        firstLine[action] = line.number;
        std::istringstream names(line.value);
        std::string name;
        while (std::getline(names, name, ',')) {
            name = TrimSetting(name);
            if (!name.empty()) r.controls.names[action].push_back(name);
        }
    }
    const Controls defaults = DefaultControls();
    for (int i = 0; i < kControlActionCount; ++i) {
        if (firstLine[i] != 0) continue;
        r.controls.names[i] = defaults.names[i];
        r.missing.push_back(kControlActions[i]);
    }
    return r;
}

Controls ReadControlsFile(const std::string& baseDir, bool writeBack) {
    const std::string path = baseDir + "/controls.txt";
    std::string text;
    switch (ReadSettingsFile(path, text)) {
        case SettingsFileRead::Missing: {
            const Controls c = DefaultControls();
            if (writeBack && !WriteFileAtomically(path, FormatControls(c))) ReportSaveFailure(path, errno);
            return c;
        }
        case SettingsFileRead::TooLarge:
            // Not a file of the game's: left as it is.
            std::fprintf(stderr, "mervox: %s is too large to be a controls file; the default controls are used\n",
                         path.c_str());
            return DefaultControls();
        case SettingsFileRead::Read:
            break;
    }
    ControlsRead r = ParseControls(text);
    for (const std::string& c : r.complaints)
        std::fprintf(stderr, "mervox: %s %s; ignored\n", path.c_str(), c.c_str());
    if (r.missing.empty() || !writeBack) return r.controls;
    // Lines of the actions the file lacks go at its end; the player's
    // lines stay as they are.
    if (!text.empty() && text.back() != '\n') text += "\n";
    for (ControlAction a : r.missing) {
        const int i = static_cast<int>(a);
        text += ActionLine(i, r.controls.names[i]);
    }
    if (!WriteFileAtomically(path, text)) ReportSaveFailure(path, errno);
    return r.controls;
}

}  // namespace mervox
