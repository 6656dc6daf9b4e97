#include "platform/screen_mode.h"

namespace mervox {

ScreenModeValue ChooseScreenMode(bool fullScreen, int desktopWidth, int desktopHeight) {
    if (!fullScreen) return ScreenWindowed;
    if (desktopWidth <= 0) return ScreenFull640;
    const double ratio = static_cast<double>(desktopHeight) / static_cast<double>(desktopWidth);
    return ratio >= 0.75 ? ScreenFull640 : ScreenFull720;
}

int CanvasWidth(ScreenModeValue screenMode) { return screenMode == ScreenFull720 ? 720 : 640; }

int PictureLeft(ScreenModeValue screenMode) { return screenMode == ScreenFull720 ? 40 : 0; }

int WindowScale(int requested, int areaWidth, int areaHeight) {
    if (requested >= 1) return requested;
    int scale = 1;
    while ((scale + 1) * 640 <= areaWidth && (scale + 1) * 480 <= areaHeight) ++scale;
    return scale;
}

}  // namespace mervox
