// Headless pictures: the frame a window would show, written as PNG.
#pragma once

#include <string>

#include "game/state/game_state.h"

namespace mervox {

struct FrameCapture;  // drawing resources for headless frames

// Loads the sprite sheets and palette for drawing without a window.
// Returns null when drawing is not available.
FrameCapture* OpenFrameCapture(const std::string& baseDir);
void CloseFrameCapture(FrameCapture* capture);

// Draws the round as it stands and writes DIR/frame-F.png. False on failure.
bool CaptureFrame(FrameCapture* capture, const GameState& g, int frame,
                  const std::string& outDir);

}  // namespace mervox
