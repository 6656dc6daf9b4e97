// The round the scene tests draw into: in play, from the title's start
// camera, with an empty board, no countdown and no fade.
#pragma once

#include "game/simulation.h"

namespace mervox::testing {

// Every block slot emptied (its resting height kept), ten seconds played.
inline void StartEmptyRoundScene(GameState& g) {
    InitProgramState(g);
    ResetScene(g);
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (BlockSlot& s : cell) {
                const float h = s.height;
                s = BlockSlot{};
                s.height = h;
            }
    PutTitleStartCamera(g);
    g.RunMode = RunGame;
    g.Playback = PlaybackOff;
    g.FadeLevel = 0;
    g.ReadyCountdown = 0;
    g.PlayFrames = 600;
}

}  // namespace mervox::testing
