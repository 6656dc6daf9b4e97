#include "platform/display_check.h"

#include <SDL.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace mervox {

namespace {

bool Set(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

}  // namespace

bool DisplayNamed(std::string& why) {
    if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return true;
    why = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
    return false;
}

bool VideoDriverShowsWindows(std::string& why) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        why = "no video driver is running";
        return false;
    }
    if (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0 ||
        std::strcmp(driver, "evdev") == 0) {
        why = std::string("the video driver \"") + driver + "\" cannot show a window";
        return false;
    }
    return true;
}

bool StartVideo(std::string& why) {
    // Pad events arrive whether or not the window has the focus (a round
    // pauses when it loses it).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
        // Game pads are welcome but not needed: the game plays without them.
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            std::fprintf(stderr, "mervox: no game pads (%s)\n", SDL_GetError());
        return true;
    }
    why = SDL_GetError();
    return false;
}

void StopVideo() { SDL_Quit(); }

DesktopArea QueryDesktop() {
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        desktop.w = 640;
        desktop.h = 480;
    }
    SDL_Rect usable{0, 0, desktop.w, desktop.h};
    SDL_GetDisplayUsableBounds(0, &usable);
    return DesktopArea{desktop.w, desktop.h, usable.w, usable.h};
}

}  // namespace mervox
