#include "platform/menu_keys.h"

namespace mervox {

namespace {

struct MenuKeyBinding {
    MenuKey key;
    SDL_Scancode keys[2];
    int padInputs[2];
};

constexpr MenuKeyBinding kMenuKeyBindings[] = {
    {MenuKey::Options, {SDL_SCANCODE_O, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_START, -1}},
    {MenuKey::Up, {SDL_SCANCODE_UP, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_DPAD_UP, kPadStickUp}},
    {MenuKey::Down, {SDL_SCANCODE_DOWN, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kPadStickDown}},
    {MenuKey::Left, {SDL_SCANCODE_LEFT, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kPadStickLeft}},
    {MenuKey::Right, {SDL_SCANCODE_RIGHT, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kPadStickRight}},
    {MenuKey::Change, {SDL_SCANCODE_Z, SDL_SCANCODE_RETURN}, {SDL_CONTROLLER_BUTTON_A, -1}},
    {MenuKey::Back, {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_UNKNOWN}, {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK}},
};

}  // namespace

bool PollMenuKey(PlayerInput& in, MenuKey key) {
    bool down = false;
    for (const MenuKeyBinding& b : kMenuKeyBindings) {
        if (b.key != key) continue;
        for (SDL_Scancode code : b.keys)
            if (code != SDL_SCANCODE_UNKNOWN && in.keyboard != nullptr) down = PollKey(*in.keyboard, code) || down;
        for (int input : b.padInputs) {
            if (input < 0) continue;
            down = down || in.pads.pressedSincePoll[input] != 0;
            in.pads.pressedSincePoll[input] = 0;
            for (const PadState::Pad& pad : in.pads.pads) down = down || pad.held[input] != 0;
        }
    }
    return down;
}

}  // namespace mervox
