// Pausing a round played from the keyboard: P (or Start on a pad) and the
// window losing the focus hold the round where it is. No update runs while
// it is held, so the round's frame counter stands still and the recording
// is exactly the one an unpaused round would make.
#pragma once

#include <cstdint>

#include "draw/draw_objects.h"
#include "draw/frame_buffer.h"
#include "game/state/game_state.h"
#include "platform/player_command.h"

namespace mervox {

struct PauseState {
    bool paused = false;
};

// A round played from the keyboard; recordings, the tutorial and the
// demonstrations never pause.
bool RoundCanPause(const GameState& g);

// P toggles the pause, focus loss only starts it; anything else, or a round
// that cannot pause, changes nothing. Returns whether the pause changed.
bool ApplyPauseCommand(PauseState& s, const GameState& g, PlayerCommand command);

// Ends a pause whose round can no longer pause (it is over, or became one
// that never pauses): a pause never outlives its round. Returns whether
// the round is still held this pass.
bool EndStalePause(PauseState& s, const GameState& g);

// Dims the frame to half its brightness and writes "PAUSE" across its middle in `font`.
// At the frame's drawing scale N the text is N times larger.
void DrawPauseOverlay(const FrameView& frame, const Font& font);

}  // namespace mervox
