#include "title/shown_language.h"

#include <cstdlib>
#include <cstring>

namespace mervox {

namespace {

constexpr const char* kLanguageVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

}  // namespace

TextLanguage DesktopLanguage(const char* (*getEnv)(const char* name)) {
    for (const char* name : kLanguageVariables) {
        const char* v = getEnv != nullptr ? getEnv(name) : nullptr;
        if (v == nullptr || *v == '\0') continue;
        return std::strncmp(v, "ja", 2) == 0 ? TextLanguage::Japanese : TextLanguage::English;
    }
    return TextLanguage::English;
}

TextLanguage ShownLanguage(LanguageChoice choice, bool inWindow) {
    switch (choice) {
        case LanguageChoice::Japanese: return TextLanguage::Japanese;
        case LanguageChoice::English: return TextLanguage::English;
        case LanguageChoice::Desktop: break;
    }
    if (!inWindow) return TextLanguage::Japanese;
    return DesktopLanguage([](const char* name) -> const char* { return std::getenv(name); });
}

void ApplyOptions(RenderResources& res, const Options& o, bool inWindow) {
    res.colourMarks = o.colourMarks;
    res.language = ShownLanguage(o.language, inWindow);
}

}  // namespace mervox
