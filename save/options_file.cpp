#include "save/options_file.h"

#include <cerrno>
#include <cstdio>

#include "save/atomic_file.h"
#include "save/settings_lines.h"

namespace mervox {

namespace {

enum class OptionName { ColourMarks, Language, Drawing, Board, Player, BoardSending };

struct OptionWord {
    OptionName name;
    const char* word;
    const char* values;  // for the complaint
};
constexpr OptionWord kOptionWords[] = {
    {OptionName::ColourMarks, "colour_marks", "off or on"},
    {OptionName::Language, "language", "desktop, ja or en"},
    {OptionName::Drawing, "drawing", "sharp or classic"},
    {OptionName::Board, "board", "none or http://HOST:PORT"},
    {OptionName::Player, "player", "a name of 3 to 16 letters, digits, - or _"},
    {OptionName::BoardSending, "board_sending", "off or on"},
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
        case OptionName::Board:
            if (value == "none" || value.empty()) o.board.clear();
            else if (IsBoardAddressText(value)) o.board = value;
            else return false;
            return true;
        case OptionName::Player:
            if (!value.empty() && !IsPlayerNameText(value)) return false;
            o.player = value;
            return true;
        case OptionName::BoardSending:
            if (value == "on") o.boardSending = true;
            else if (value == "off") o.boardSending = false;
            else return false;
            return true;
    }
    return false;
}

void ResetOption(Options& o, OptionName name) {
    const Options defaults;
    switch (name) {
        case OptionName::ColourMarks: o.colourMarks = defaults.colourMarks; break;
        case OptionName::Language: o.language = defaults.language; break;
        case OptionName::Drawing: o.drawing = defaults.drawing; break;
        case OptionName::Board: o.board = defaults.board; break;
        case OptionName::Player: o.player = defaults.player; break;
        case OptionName::BoardSending: o.boardSending = defaults.boardSending; break;
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

bool IsBoardAddressText(const std::string& text) {
    size_t host = 0;
    if (text.rfind("http://", 0) == 0) host = 7;
    else if (text.rfind("https://", 0) == 0) host = 8;
    else return false;
    if (text.size() <= host || text[host] == '/') return false;
    for (const char ch : text)
        if (static_cast<unsigned char>(ch) <= ' ' || static_cast<unsigned char>(ch) >= 127) return false;
    return true;
}

bool IsPlayerNameText(const std::string& text) {
    if (text.size() < 3 || text.size() > 16) return false;
    for (const char ch : text) {
        const bool ok = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                        ch == '-' || ch == '_';
        if (!ok) return false;
    }
    return true;
}

bool operator==(const Options& a, const Options& b) {
    return a.colourMarks == b.colourMarks && a.language == b.language && a.drawing == b.drawing &&
           a.board == b.board && a.player == b.player && a.boardSending == b.boardSending;
}

std::string FormatOptions(const Options& o) {
    std::string s =
        "# mervox options, changed on the title's options screen (O) or here.\n"
        "# colour_marks = off|on          a shape of its own on each block colour\n"
        "# language = desktop|ja|en       desktop: as the desktop's language\n"
        "# drawing = sharp|classic        how the window draws the picture\n"
        "# board = none|http://HOST:PORT  the score board finished games are sent to\n"
        "# player = NAME                  the name they are sent under\n"
        "# board_sending = on|off         off: no game is sent\n";
    s += "colour_marks = ";
    s += o.colourMarks ? "on" : "off";
    s += "\nlanguage = ";
    s += LanguageWordOf(o.language);
    s += "\ndrawing = ";
    s += DrawingWordOf(o.drawing);
    s += "\nboard = ";
    s += o.board.empty() ? "none" : o.board;
    s += "\nplayer = ";
    s += o.player;
    s += "\nboard_sending = ";
    s += o.boardSending ? "on" : "off";
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
