// The title screen's logic: the swinging camera, the slowly turning board
// with its sinking tiles, the keys, the attract cycle, the fades, and the
// start of every round.
#pragma once

#include <string>

#include "game/input_frame.h"
#include "game/round_end.h"
#include "game/round_host.h"
#include "game/simulation.h"  // PutTitleStartCamera: the title's first camera
#include "game/state/game_state.h"

namespace mervox {

// What the title needs from the program: the round's services (the
// "ready" voice, stopping the music, the clock) and its own. The base does
// nothing.
class TitleHost : public RoundHost {
public:
    virtual void startMusic() const {}       // the first track of a round
    virtual void drawTitleScreen() const {}  // one title frame, presented

    std::string baseDir = ".";  // where data/ lies
};

constexpr int kAttractDelay = 3600;  // title updates before a demonstration
// The title fades in from FadeLevel kFadeWhite (where a round leaves it,
// game/round_end.h) down to 0, and out to a round from kFadeWhite + 1 up to
// kFadeOutEnd, kFadeStep an update either way.
constexpr int kFadeOutEnd = 2 * kFadeWhite;

// One title update (RunMode 0) with the pass's keys. While a key of
// KeysToRelease is down the update does nothing.
void TitleUpdate(GameState& g, const TitleHost& host, const InputFrame& in);

// The reset on the first title update after start-up and after each round.
void TitleReset(GameState& g, const TitleHost& host);

// The attract cycle: the round a demonstration index starts and the index
// that follows it.
struct AttractStep {
    RunModeValue runMode;
    int nextIndex;
};
AttractStep ChooseAttractRound(int demoIndex, bool replayAvailable);

}  // namespace mervox
