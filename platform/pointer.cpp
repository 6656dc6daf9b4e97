#include "platform/pointer.h"

#include "platform/screen_mode.h"

namespace mervox {

bool PollPointer(const ProgramWindow& w, int& x, int& y) {
    int wx = 0, wy = 0;
    const uint32_t buttons = SDL_GetMouseState(&wx, &wy);
    float lx = static_cast<float>(wx), ly = static_cast<float>(wy);
    if (w.renderer != nullptr) SDL_RenderWindowToLogical(w.renderer, wx, wy, &lx, &ly);
    x = static_cast<int>(lx) - PictureLeft(w.screenMode);
    y = static_cast<int>(ly);
    return (buttons & SDL_BUTTON_LMASK) != 0;
}

}  // namespace mervox
