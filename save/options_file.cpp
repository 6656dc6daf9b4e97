#include "save/options_file.h"

#include <cerrno>
#include <cstdio>

#include "save/atomic_file.h"
#include "save/settings_lines.h"

namespace mervox {

namespace {

enum class OptionName { ColourMarks, Language, Drawing };

struct OptionWord {
    OptionName name;
    const char* word;
    const char* values;  // for the complaint
};
constexpr OptionWord kOptionWords[] = {
    {OptionName::ColourMarks, "colour_marks", "off or on"},
    {OptionName::Language, "language", "desktop, ja or en"},
    {OptionName::Drawing, "drawing", "sharp or classic"},
};
constexpr int kOptionCount = static_cast<int>(sizeof kOptionWords / sizeof kOptionWords[0]);

struct LanguageWord {
    LanguageChoice choice;
    const char* word;
};
constexpr LanguageWord kLanguageWords[] = {
    {LanguageChoice::Desktop, "desktop"},
    {LanguageChoice::Japanese, "ja"},
    {LanguageChoice::English, "en"},
};

struct DrawingWord {
    DrawingStyle style;
    const char* word;
};
constexpr DrawingWord kDrawingWords[] = {
    {DrawingStyle::Sharp, "sharp"},
    {DrawingStyle::Classic, "classic"},
};

const OptionWord* OptionOfWord(const std::string& word) {
    for (const OptionWord& w : kOptionWords)
        if (word == w.word) return &w;
    return nullptr;
}

// Sets the option from its value word; false when the word means nothing.
bool SetOption(Options& o, OptionName name, const std::string& value) {
    switch (name) {
        case OptionName::ColourMarks:
            if (value == "on") o.colourMarks = true;
            else if (value == "off") o.colourMarks = false;
            else return false;
            return true;
        case OptionName::Language:
            for (const LanguageWord& w : kLanguageWords) {
                if (value != w.word) continue;
                o.language = w.choice;
                return true;
            }
            return false;
        case OptionName::Drawing:
            for (const DrawingWord& w : kDrawingWords) {
                if (value != w.word) continue;
                o.drawing = w.style;
                return true;
            }
            return false;
    }
    return false;
}

void ResetOption(Options& o, OptionName name) {
    const Options defaults;
    switch (name) {
        case OptionName::ColourMarks: o.colourMarks = defaults.colourMarks; break;
        case OptionName::Language: o.language = defaults.language; break;
        case OptionName::Drawing: o.drawing = defaults.drawing; break;
    }
}

const char* LanguageWordOf(LanguageChoice c) {
    for (const LanguageWord& w : kLanguageWords)
        if (w.choice == c) return w.word;
    return kLanguageWords[0].word;
}

const char* DrawingWordOf(DrawingStyle s) {
    for (const DrawingWord& w : kDrawingWords)
        if (w.style == s) return w.word;
    return kDrawingWords[0].word;
}

}  // namespace

bool operator==(const Options& a, const Options& b) {
    return a.colourMarks == b.colourMarks && a.language == b.language && a.drawing == b.drawing;
}

std::string FormatOptions(const Options& o) {
    std::string s =
        "# mervox options, changed on the title's options screen (O) or here.\n"
        "# colour_marks = off|on          a shape of its own on each block colour\n"
        "# language = desktop|ja|en       desktop: as the desktop's language\n"
        "# drawing = sharp|classic        how the window draws the picture\n";
    s += "colour_marks = ";
    s += o.colourMarks ? "on" : "off";
    s += "\nlanguage = ";
    s += LanguageWordOf(o.language);
    s += "\ndrawing = ";
    s += DrawingWordOf(o.drawing);
    s += "\n";
    return s;
}

Options ParseOptions(const std::string& text, std::vector<std::string>* complaints) {
    Options o;
    bool damaged[kOptionCount] = {};
    std::vector<std::string> said;
    for (const SettingLine& line : ReadSettingLines(text)) {
        if (!line.wellFormed) {
            said.push_back(MalformedLineComplaint(line));
            continue;
        }
        const OptionWord* option = OptionOfWord(line.word);
        if (option == nullptr) {
            said.push_back(LineComplaint(line.number, "\"" + line.word + "\" names no option"));
            continue;
        }
        if (!SetOption(o, option->name, line.value)) {
            said.push_back(LineComplaint(line.number, std::string(option->word) + " is " + option->values +
                                                          ", not \"" + line.value + "\""));
            damaged[option - kOptionWords] = true;
        }
    }
    for (int k = 0; k < kOptionCount; ++k)
        if (damaged[k]) ResetOption(o, kOptionWords[k].name);
    if (complaints != nullptr) complaints->insert(complaints->end(), said.begin(), said.end());
    return o;
}

Options ReadOptionsFile(const std::string& baseDir) {
    const std::string path = baseDir + "/options.txt";
    std::string text;
    switch (ReadSettingsFile(path, text)) {
        case SettingsFileRead::Missing: return Options{};
        case SettingsFileRead::TooLarge:
            std::fprintf(stderr, "mervox: %s is too large to be an options file; the defaults are used\n",
                         path.c_str());
            return Options{};
        case SettingsFileRead::Read: break;
    }
    std::vector<std::string> complaints;
    const Options o = ParseOptions(text, &complaints);
    for (const std::string& c : complaints)
        std::fprintf(stderr, "mervox: %s %s; the default is used\n", path.c_str(), c.c_str());
    return o;
}

bool WriteOptionsFile(const std::string& baseDir, const Options& o) {
    const std::string path = baseDir + "/options.txt";
    if (WriteFileAtomically(path, FormatOptions(o))) return true;
    ReportSaveFailure(path, errno);
    return false;
}

}  // namespace mervox
