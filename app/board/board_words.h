// The board's status line in the player's language: "board: verified —
// 12th of 340" and its Japanese.
#pragma once

#include <string>

#include "net/board_sender.h"
#include "render/player_words.h"

namespace mervox {

// Empty when there is nothing to say (no board set, nothing sent yet).
std::u16string BoardStatusWords(const BoardStatus& s, TextLanguage language);

// UTF-8 text (the board's own sentences, names) for drawing; bytes that
// are not UTF-8 become U+FFFD, and the text is cut after `limit` characters.
std::u16string WordsFromUtf8(const std::string& text, size_t limit = 80);

}  // namespace mervox

namespace mervox {

// The board screen's words.
struct BoardScreenWords {
    const char16_t* heading;
    const char16_t* loading;
    const char16_t* downloading;
    const char16_t* empty;        // a board with no ranked round
    const char16_t* columns[4];   // rank, name, score, level
    const char16_t* you;          // before the player's standing
    const char16_t* noRound;      // the player has no verified round
    const char16_t* keys;         // names keys, as titleLine does: draw them through WithBoundKeys
    const char16_t* titleLine;    // the title's line naming the key
};
const BoardScreenWords& BoardWords(TextLanguage language);

// "12th of 340, best 4200 (level 6)" and its Japanese.
std::u16string StandingWords(int rank, int total, long long best, int level, TextLanguage language);

}  // namespace mervox
