#include "platform/menu_keys.h"

namespace mervox {

namespace {

// Each key of the options screen is an action of controls.txt.
struct MenuKeyAction {
    MenuKey key;
    ControlAction action;
};

constexpr MenuKeyAction kMenuKeyActions[] = {
    {MenuKey::Options, ControlAction::Options}, {MenuKey::Up, ControlAction::MenuUp},
    {MenuKey::Down, ControlAction::MenuDown},   {MenuKey::Left, ControlAction::MenuLeft},
    {MenuKey::Right, ControlAction::MenuRight}, {MenuKey::Change, ControlAction::MenuChange},
    {MenuKey::Back, ControlAction::MenuBack},
};

}  // namespace

bool PollMenuKey(PlayerInput& in, MenuKey key) {
    for (const MenuKeyAction& k : kMenuKeyActions)
        if (k.key == key) return PollAction(in, k.action);
    return false;
}

}  // namespace mervox
