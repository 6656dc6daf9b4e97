// A player for the demonstrations: at each decision it tries short key
// moves on copies of the round, looks a little ahead, and keeps the move
// that scores best.
#pragma once

#include <cstdint>
#include <memory>

#include "game/state/game_state.h"

namespace mervox {

struct BotOptions {
    int runMode = 4;          // the round's mode while it is recorded
    uint32_t seed = 1;        // varies the bot's choices between recordings
    int maxFrames = 5400;     // stop playing (keys released) after this update
    int lookahead = 120;      // updates simulated after a candidate move
    bool favourKicks = false; // prefer kicks in the kicking part of the tutorial
};

// Plays one keyboard round to its end and returns the final state, whose
// InputLog holds the recording.
std::unique_ptr<GameState> PlayBotRound(const BotOptions& options);

}  // namespace mervox
