// What the board accepts before it queues anything: a player's name, and a
// recording in the game's own format, brought to one canonical form.
#pragma once

#include <string>
#include <vector>

#include "game/state/game_state.h"

namespace mervox::board {

// The largest request body the board reads: a full recording of 6000
// records is about 60 KB.
constexpr size_t kMaxBodyBytes = 256 * 1024;

struct CheckedRecording {
    std::vector<InputRecord> records;  // frames growing, keys 0..255
    std::string canonical;             // one "%05d%03d\r\n" line a record
    std::string digest;                // hex SHA-256 of the key changes in `canonical`
};

// Reads a recording strictly: every line that is not blank is one record
// of eight digits, frames start at 1 and grow, keys are 0..255, at most
// 6000 records, text only. False with a sentence a person understands
// ("line 12 is not a record") in `error`. Two recordings with the same key
// changes, however their lines end or are padded and whatever records
// repeating the keys held they add, get the same digest.
bool CheckRecording(const std::string& body, CheckedRecording& out, std::string& error);

// 3 to 16 letters, digits, '_' or '-'. `key` is the name in lower case:
// names are compared without case.
bool CheckName(const std::string& name, std::string& key, std::string& error);

// Lower-case hex SHA-256 of the bytes.
std::string Sha256Hex(const std::string& bytes);

// A new secret token: 32 random bytes as hex. Throws std::runtime_error
// when the system has no randomness to give.
std::string NewToken();

}  // namespace mervox::board
