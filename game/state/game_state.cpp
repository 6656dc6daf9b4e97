#include "game/state/game_state.h"

#include <cstring>

#include "game/simulation.h"

namespace mervox {

void InitProgramState(GameState& g) {
    std::memset(&g, 0, sizeof g);
    g.RunMode = 0;
    g.FrameSkip = 1;
    g.Playback = 1;
    g.Level = 1;
    for (auto& c : g.ChainSlots) c = ChainSlot{0, 0, 0, 0};
    // The title's start camera.
    g.DrawCamera = Camera{350.0f, 400.0f, -200.0f, {0.0f, 0.0f, 0.0f}};
    g.ViewCamera = g.DrawCamera;
    g.CameraPitch = 30.0f;
    g.CameraPitchRad = 30.0f * DegToRad;
    g.ViewAngle = 0.0f;
    g.ViewAngleRad = 0.0f;
    FillTutorialCaptions(g);
}

}  // namespace mervox
