#include "save/settings_lines.h"

#include <fstream>
#include <sstream>

namespace mervox {

std::string TrimSetting(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

std::string LineComplaint(int number, const std::string& what) {
    return "line " + std::to_string(number) + ": " + what;
}

std::string MalformedLineComplaint(const SettingLine& line) {
    return LineComplaint(line.number, "not \"name = value\"");
}

std::vector<SettingLine> ReadSettingLines(const std::string& text) {
    std::vector<SettingLine> out;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string t = TrimSetting(line);
        if (t.empty() || t[0] == '#') continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos || TrimSetting(t.substr(0, eq)).empty()) {
            out.push_back(SettingLine{number, false, "", ""});
            continue;
        }
        out.push_back(SettingLine{number, true, TrimSetting(t.substr(0, eq)), TrimSetting(t.substr(eq + 1))});
    }
    return out;
}

SettingsFileRead ReadSettingsFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return SettingsFileRead::Missing;
    text.assign(kSettingsFileLimit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kSettingsFileLimit) {
        text.clear();
        return SettingsFileRead::TooLarge;
    }
    return SettingsFileRead::Read;
}

}  // namespace mervox
