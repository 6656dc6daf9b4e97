#include "game/state/game_state.h"

#include <cstring>

#include "game/simulation.h"

namespace mervox {

void InitProgramState(GameState& g) {
    std::memset(static_cast<void*>(&g), 0, sizeof g);  // every field, board slots included, at 0
    g.RunMode = RunTitle;
    g.FrameSkip = 1;
    g.Playback = PlaybackOn;
    g.Level = 1;
    for (auto& c : g.ChainSlots) c = ChainSlot{0, 0, 0, 0};
    PutTitleStartCamera(g);
}

bool RoundModeOfNumber(int number, RunModeValue& mode) {
    for (RunModeValue m : kRoundModes) {
        if (m == number) {
            mode = m;
            return true;
        }
    }
    return false;
}

}  // namespace mervox
