#include "save/key_names.h"

#include <cstring>

namespace mervox {

namespace {

constexpr char kPadPrefix[] = "pad ";

bool IsPadName(const std::string& name) { return name.compare(0, sizeof kPadPrefix - 1, kPadPrefix) == 0; }

// A key's name as the screens write it: short where the key's own name is
// long or is a word of the file's.
std::string ScreenKeyName(const std::string& name) {
    static const struct {
        const char* bound;
        const char* shown;
    } kShort[] = {{"Escape", "Esc"}, {"Return", "Enter"}, {"Comma", ","}};
    for (const auto& s : kShort)
        if (name == s.bound) return s.shown;
    return name;
}

}  // namespace

std::string BoundKeyName(const Controls& c, ControlAction a, const char* preferred) {
    const std::vector<std::string>& names = c.names[static_cast<size_t>(a)];
    if (preferred != nullptr)
        for (const std::string& n : names)
            if (n == preferred) return ScreenKeyName(n);
    for (const std::string& n : names)
        if (!IsPadName(n)) return ScreenKeyName(n);
    return names.empty() ? "-" : names.front();
}

}  // namespace mervox
