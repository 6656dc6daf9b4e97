// Headless pictures: the frame a window would show, written as PNG.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

struct FrameCapture;  // drawing resources for headless frames

// Loads the sprite sheets and palette for drawing without a window.
// Returns null when drawing is not available.
// Pictures are drawn at `drawScale` (1 to 4): N x 640 by N x 480.
FrameCapture* OpenFrameCapture(const std::string& baseDir, int drawScale = 1);
void CloseFrameCapture(FrameCapture* capture);

// Draws the round as it stands and writes DIR/frame-F.png. False on failure.
bool CaptureFrame(FrameCapture* capture, const GameState& g, int frame,
                  const std::string& outDir);

}  // namespace mervox
