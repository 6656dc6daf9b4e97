// Headless pictures: the frame a window would show, written as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// Draws the round as it stands and leaves in `picture` what the PNG would
// hold: N x 640 by N x 480 words 0x00RRGGBB, row after row, the frame from
// pixel (N, N) as the window shows it. False when drawing is not available.
bool DrawCapturedPicture(FrameCapture* capture, const GameState& g, std::vector<uint32_t>& picture);
// The scale the capture draws at.
int CaptureScale(const FrameCapture* capture);

}  // namespace mervox
