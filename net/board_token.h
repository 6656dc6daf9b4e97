// The secret the board gave a name at its first submission, kept in a file
// of its own in the player's folder that only the player can read:
// "board_token.txt", one "BOARD NAME TOKEN" line for each board and name.
#pragma once

#include <string>

namespace mervox {

std::string BoardTokenPath(const std::string& baseDir);

// The token kept for the name on the board; empty when none is.
std::string ReadBoardToken(const std::string& baseDir, const std::string& board, const std::string& name);

// Keeps the token (replacing one kept for the same board and name, other
// lines as they were). False, said on stderr, when it cannot.
bool KeepBoardToken(const std::string& baseDir, const std::string& board, const std::string& name,
                    const std::string& token);

}  // namespace mervox
