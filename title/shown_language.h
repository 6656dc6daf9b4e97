// How the options reach the drawing: the colour marks, and the language of
// the words, the player's choice or the desktop's.
#pragma once

#include "render/render_resources.h"
#include "save/options_file.h"

namespace mervox {

// The desktop's language from LANGUAGE, LC_ALL, LC_MESSAGES and LANG, the
// first one set: Japanese when it starts with "ja", English otherwise.
TextLanguage DesktopLanguage(const char* (*getEnv)(const char* name));

// The language shown for the choice: the desktop's in the window, Japanese
// headless (traces and pinned pictures) unless the file says English.
TextLanguage ShownLanguage(LanguageChoice choice, bool inWindow);

// Puts the options into the drawing's resources.
void ApplyOptions(RenderResources& res, const Options& o, bool inWindow);

}  // namespace mervox
