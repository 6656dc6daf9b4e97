// A player for the tutorial and the demonstrations. It acts in whole moves
// a person would make — walk to a block and push it some cells, kick it,
// jump onto it, turn the board, wait — each run through the round itself
// with the player's own keys. At each decision it tries every move on a
// copy of the round, follows the best few with a second move, and keeps
// the first move of the best pair. What "best" means is the round's score
// plus the goals of the recording: events wanted inside windows of frames.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/state/game_state.h"
#include "round_events.h"

namespace mervox {

struct BotGoal {
    enum Kind {
        Chain,       // `count` chain links of level >= `size`
        KickToWall,  // `count` kicks sliding >= `size` cells into the board's edge
        KickToBlock, // `count` kicks sliding >= `size` cells into a block
        LevelUp,     // `count` level-ups
        NoLevelUp,   // no more than `count` level-ups
        JumpOnto,    // `count` jumps onto a block
        UpperPlay,   // `count` pushes or kicks from on top of a block
        Group,       // `count` starting groups vanishing
        Turn,        // `count` board turns
    };
    Kind kind;
    int from, to;  // the window of frames, both included
    int size;
    int count;
    double weight; // value of each wanted event (or cost of an unwanted one)
};

struct BotOptions {
    RunModeValue runMode = RunDemo1;  // the round's mode while it is recorded
    int maxFrames = 5400;      // no move starts after this update
    std::vector<BotGoal> goals;
    bool jumps = true;         // jumps onto blocks and play from on top
    bool turns = true;         // board turns
    int maxTurns = 4;
    int maxPush = 3;           // longest push, in cells
    int beam = 4;              // first moves followed by a second
    int lookahead = 40;        // idle updates after a move before judging it
    double chainBonus = 0;     // extra value per level of each chain link
    double pairValue = 25;     // value of two resting blocks of a colour touching
    double timeCost = 1.0;     // value of an update of the round
    double kickBonus = 0;      // extra value per cell a kicked block slides
};

struct BotResult {
    std::unique_ptr<GameState> state;  // the round at its end; InputLog holds the recording
    RoundEvents events;
    long movesTried = 0;               // moves simulated in the whole search
};

// Plays one keyboard round to its end.
BotResult PlayBotRound(const BotOptions& options);

// How well a finished round meets its goals: the score plus the value of
// each goal's events (negative for unwanted ones).
double RecordingValue(const BotResult& result, const BotOptions& options);

}  // namespace mervox
