// options.txt beside config.txt: the player's settings that config.txt has
// no room for, one "name = value" line each, "#" starting a comment.
#pragma once

#include <string>
#include <vector>

namespace mervox {

enum class LanguageChoice { Desktop, Japanese, English };  // "desktop" (default) | "ja" | "en"
enum class DrawingStyle { Sharp, Classic };                // "sharp" (default) | "classic"

struct Options {
    bool colourMarks = false;                              // colour_marks = off|on
    LanguageChoice language = LanguageChoice::Desktop;     // language = desktop|ja|en
    DrawingStyle drawing = DrawingStyle::Sharp;            // drawing = sharp|classic
};

std::string FormatOptions(const Options& o);
// Every line that is damaged or names no option adds one complaint and leaves that option at
// its default; the other lines still apply.
Options ParseOptions(const std::string& text, std::vector<std::string>* complaints);
Options ReadOptionsFile(const std::string& baseDir);          // baseDir/options.txt
bool WriteOptionsFile(const std::string& baseDir, const Options& o);

}  // namespace mervox
