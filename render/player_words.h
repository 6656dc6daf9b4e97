// The words the player reads in the game's window, in the two languages
// the game speaks. The Japanese ones are the game's own; the English ones
// are written for a player who has never seen the game.
#pragma once

namespace mervox {

enum class TextLanguage { Japanese, English };

// The face English text is drawn with: a sans face every desktop has.
extern const char* const kEnglishFontFile;

// Line 0 or 1 of tutorial caption `caption` in English (empty past the
// captions).
const char16_t* EnglishCaptionLine(int caption, int line);

// The start-up question and its two answers.
struct QuestionWords {
    const char16_t* question;
    const char16_t* yes;
    const char16_t* no;
    const char16_t* hint;
};
const QuestionWords& FullScreenQuestionWords(TextLanguage language);

// The options screen: its heading, each option's name and values, the keys
// that change them, and the title's line that opens it.
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
