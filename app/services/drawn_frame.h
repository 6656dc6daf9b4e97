// The back buffer at the drawing scale the platform's window asks for, and
// its way to the window: the screenshot key takes the picture as drawn.
// The game and the viewer's window loop both draw through it, so a resize
// or Alt+Enter changes the scale of the next frame in either.
#pragma once

#include <string>

#include "app/services/program_platform.h"
#include "app/services/screenshot.h"
#include "draw/frame_buffer.h"
#include "render/render_resources.h"

namespace mervox {

struct DrawnFrame {
    ScaledFrame frame;
    ScreenshotWriter screenshots;
    bool screenshotWanted = false;  // the screenshot key: the next presented frame
};

// Sets the frame to scale 1 and starts the screenshot writer for
// `writeDir`/screenshots.
void StartDrawnFrame(DrawnFrame& d, const std::string& writeDir);
// Writes the pictures still waiting.
void StopDrawnFrame(DrawnFrame& d);

// The frame to draw next, at the scale the platform wants now for the
// drawing style chosen (1 when it asks for none), with the sheets of that
// scale made ready.
FrameView FrameToDraw(DrawnFrame& d, const ProgramPlatform& platform, RenderResources& res, DrawingStyle drawing);

// Takes the picture when the screenshot key asked for one, then hands the
// frame to the platform.
void PresentDrawnFrame(DrawnFrame& d, const ProgramPlatform& platform);

}  // namespace mervox
