#include "platform/pointer.h"

#include "platform/screen_mode.h"

namespace mervox {

namespace {

void ToPicture(const ProgramWindow& w, int wx, int wy, int& x, int& y) {
    float lx = static_cast<float>(wx), ly = static_cast<float>(wy);
    if (w.renderer != nullptr) SDL_RenderWindowToLogical(w.renderer, wx, wy, &lx, &ly);
    x = static_cast<int>(lx) - PictureLeft(w.screenMode);
    y = static_cast<int>(ly);
}

}  // namespace

void StartPointer(PointerState& p, const ProgramWindow& w) {
    p.window = &w;
    p.pressedSincePoll = false;
}

void StopPointer(PointerState& p) {
    p.window = nullptr;
    p.pressedSincePoll = false;
}

void NotePointerPress(PointerState& p, int button, int x, int y) {
    if (p.window == nullptr || button != SDL_BUTTON_LEFT) return;
    p.pressedSincePoll = true;
    p.pressX = x;
    p.pressY = y;
}

bool PollPointer(PointerState& p, int& x, int& y) {
    if (p.window == nullptr) return false;
    int wx = 0, wy = 0;
    const bool held = (SDL_GetMouseState(&wx, &wy) & SDL_BUTTON_LMASK) != 0;
    const bool pressed = p.pressedSincePoll;
    p.pressedSincePoll = false;
    if (!held && pressed) {
        wx = p.pressX;
        wy = p.pressY;
    }
    ToPicture(*p.window, wx, wy, x, y);
    return held || pressed;
}

}  // namespace mervox
