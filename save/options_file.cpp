#include "save/options_file.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "save/atomic_file.h"

namespace mervox {

namespace {

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// The value names of each option, in the order of its enumeration.
struct LanguageName {
    LanguageChoice value;
    const char* name;
};
constexpr LanguageName kLanguages[] = {
    {LanguageChoice::Desktop, "desktop"}, {LanguageChoice::Japanese, "ja"}, {LanguageChoice::English, "en"}};
struct DrawingName {
    DrawingStyle value;
    const char* name;
};
constexpr DrawingName kDrawings[] = {{DrawingStyle::Sharp, "sharp"}, {DrawingStyle::Classic, "classic"}};

}  // namespace

std::string FormatOptions(const Options& o) {
    std::string s = "# mervox options\n";
    s += std::string("colour_marks = ") + (o.colourMarks ? "on" : "off") + "\n";
    for (const auto& l : kLanguages)
        if (l.value == o.language) s += std::string("language = ") + l.name + "\n";
    for (const auto& d : kDrawings)
        if (d.value == o.drawing) s += std::string("drawing = ") + d.name + "\n";
    return s;
}

Options ParseOptions(const std::string& text, std::vector<std::string>* complaints) {
    Options o;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto complain = [&](const std::string& why) {
        if (complaints) complaints->push_back("line " + std::to_string(number) + ": " + why);
    };
    while (std::getline(in, line)) {
        ++number;
        const size_t hash = line.find('#');
        const std::string body = Trim(hash == std::string::npos ? line : line.substr(0, hash));
        if (body.empty()) continue;
        const size_t eq = body.find('=');
        if (eq == std::string::npos) {
            complain("not a \"name = value\" line");
            continue;
        }
        const std::string name = Trim(body.substr(0, eq)), value = Trim(body.substr(eq + 1));
        bool ok = false;
        if (name == "colour_marks") {
            if (value == "on" || value == "off") {
                o.colourMarks = value == "on";
                ok = true;
            } else {
                o.colourMarks = false;
            }
        } else if (name == "language") {
            o.language = LanguageChoice::Desktop;
            for (const auto& l : kLanguages)
                if (value == l.name) o.language = l.value, ok = true;
        } else if (name == "drawing") {
            o.drawing = DrawingStyle::Sharp;
            for (const auto& d : kDrawings)
                if (value == d.name) o.drawing = d.value, ok = true;
        } else {
            complain("no option named \"" + name + "\"");
            continue;
        }
        if (!ok) complain("\"" + value + "\" is not a value of " + name);
    }
    return o;
}

Options ReadOptionsFile(const std::string& baseDir) {
    std::ifstream in(baseDir + "/options.txt", std::ios::binary);
    if (!in) return Options{};
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> complaints;
    const Options o = ParseOptions(text.str(), &complaints);
    for (const std::string& c : complaints) std::fprintf(stderr, "mervox: options.txt %s\n", c.c_str());
    return o;
}

bool WriteOptionsFile(const std::string& baseDir, const Options& o) {
    return WriteFileAtomically(baseDir + "/options.txt", FormatOptions(o));
}

}  // namespace mervox
