// The title screen's logic: the swinging camera, the slowly turning board
// with its sinking tiles, the keys, the attract cycle, the fades, and the
// start of every round.
#pragma once

#include <string>

#include "game/round_host.h"
#include "game/simulation.h"  // PutTitleStartCamera: the title's first camera
#include "game/state/game_state.h"

namespace mervox {

// What the title needs from the program besides the round's hooks (keys,
// the "ready" voice, stopping the music, the message pump and the clock).
struct TitleHost {
    const RoundHost* round = nullptr;
    void* ctx = nullptr;
    void (*startMusic)(void* ctx) = nullptr;       // the first track of a round
    void (*drawTitleScreen)(void* ctx) = nullptr;  // one title frame, presented
    std::string baseDir = ".";                     // where data/ lies
};

constexpr int kAttractDelay = 3600;  // title updates before a demonstration
constexpr int kFadeFull = 80;        // fade-in start; also the end of a round
constexpr int kFadeOutEnd = 160;

// One title update (RunMode 0).
void TitleUpdate(GameState& g, const TitleHost& host);

// The reset on the first title update after start-up and after each round.
void TitleReset(GameState& g, const TitleHost& host);

// The attract cycle: the round a demonstration index starts and the index
// that follows it.
struct AttractStep {
    int runMode;
    int nextIndex;
};
AttractStep ChooseAttractRound(int demoIndex, bool replayAvailable);

}  // namespace mervox
