// Choosing the screen layout and the window size from the desktop.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

// A window, or full screen: a 4:3 or squarer desktop (height/width at
// least 0.75) takes the 640x480 picture, a wider one the 720x480 canvas.
ScreenModeValue ChooseScreenMode(bool fullScreen, int desktopWidth, int desktopHeight);

// Width of the canvas the picture is placed on: 640, or 720 for ScreenFull720.
int CanvasWidth(ScreenModeValue screenMode);
// Left edge of the picture on the canvas: 0, or 40 for ScreenFull720.
int PictureLeft(ScreenModeValue screenMode);

// The largest whole multiple of 640x480 that fits in the given area (at
// least 1); `requested` (1 or more) wins when given.
int WindowScale(int requested, int areaWidth, int areaHeight);

}  // namespace mervox
