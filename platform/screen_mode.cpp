#include "platform/screen_mode.h"

namespace mervox {

uint16_t ChooseScreenMode(bool fullScreen, int desktopWidth, int desktopHeight) {
    if (!fullScreen) return 0;
    if (desktopWidth <= 0) return 1;
    const double ratio = static_cast<double>(desktopHeight) / static_cast<double>(desktopWidth);
    return ratio >= 0.75 ? 1 : 2;
}

int WindowScale(int requested, int areaWidth, int areaHeight) {
    if (requested >= 1) return requested;
    int scale = 1;
    while ((scale + 1) * 640 <= areaWidth && (scale + 1) * 480 <= areaHeight) ++scale;
    return scale;
}

}  // namespace mervox
