// The words the player reads in the game's window, in the two languages
// the game speaks. The Japanese ones are the game's own; the English ones
// are written for a player who has never seen the game.
#pragma once

#include <string>

#include "save/controls_file.h"

namespace mervox {

enum class TextLanguage { Japanese, English };

// The face English text is drawn with: a sans face every desktop has.
extern const char* const kEnglishFontFile;

// A text that names keys, with the keys the player has bound: each
// "{word}" is the key of the action of that word in controls.txt, named by
// BoundKeyName (save/key_names.h) from `keys`; "{word:Name}"
// names the key Name while it is still one of the action's. In Japanese
// the arrow keys are written as arrows, and two keys side by side are
// parted by a space unless both are arrows ("↑↓", "W S").
std::u16string WithBoundKeys(const char16_t* text, TextLanguage language, const Controls& keys);

// Line 0 or 1 of tutorial caption `caption` in English (empty past the
// captions), with the keys of `keys`.
std::u16string EnglishCaptionLine(int caption, int line, const Controls& keys);

// The start-up question and its two answers. The hint names keys (draw it
// through WithBoundKeys).
struct QuestionWords {
    const char16_t* question;
    const char16_t* yes;
    const char16_t* no;
    const char16_t* hint;
};
const QuestionWords& FullScreenQuestionWords(TextLanguage language);

// The options screen: its heading, each option's name and values, the keys
// that change them, and the title's line that opens it (these two name
// keys: draw them through WithBoundKeys).
struct OptionsWords {
    const char16_t* heading;
    const char16_t* marks;
    const char16_t* language;
    const char16_t* drawing;
    const char16_t* on;
    const char16_t* off;
    const char16_t* desktop;
    const char16_t* japanese;
    const char16_t* english;
    const char16_t* sharp;
    const char16_t* classic;
    const char16_t* keys;
    const char16_t* titleLine;
    const char16_t* sending;   // the row that turns sending games to the board off and on
    const char16_t* boardAt;   // before the board's address and the name: "Board: "
    const char16_t* playerAs;  // between them: " as "
    const char16_t* noBoard;   // in place of them when no board is set
};
const OptionsWords& OptionsScreenWords(TextLanguage language);

}  // namespace mervox
