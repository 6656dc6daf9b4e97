// The board settings of options.txt made into what the sender and the
// command line use: the address canonical, the player's folder for the
// outbox and the token.
#pragma once

#include <string>

#include "net/board_sender.h"
#include "save/options_file.h"

namespace mervox {

BoardSettings BoardSettingsOf(const Options& o, const std::string& baseDir);

}  // namespace mervox
