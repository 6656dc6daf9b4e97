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
