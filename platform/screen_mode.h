// Choosing the screen layout and the window size from the desktop.
#pragma once

#include <cstdint>

namespace mervox {

// 0 windowed 640x480; 1 full screen 640x480; 2 full screen 720x480 with the
// picture 40 pixels from the left. A 4:3 or squarer desktop (height/width
// at least 0.75) takes 1, a wider one 2.
uint16_t ChooseScreenMode(bool fullScreen, int desktopWidth, int desktopHeight);

// Width of the canvas the picture is placed on: 640, or 720 in mode 2.
inline int CanvasWidth(uint16_t screenMode) { return (screenMode >> 1) ? 720 : 640; }
// Left edge of the picture on the canvas.
inline int PictureLeft(uint16_t screenMode) { return (screenMode >> 1) * 40; }

// The largest whole multiple of 640x480 that fits in the given area (at
// least 1); `requested` (1 or more) wins when given.
int WindowScale(int requested, int areaWidth, int areaHeight);

}  // namespace mervox
