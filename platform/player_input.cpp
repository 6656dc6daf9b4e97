#include "platform/player_input.h"

#include <cstdio>
#include <cstring>

#include "platform/clock.h"

namespace mervox {

namespace {

constexpr char kPadPrefix[] = "pad ";

// The pad input a name after "pad " stands for; -1 for none.
int PadInputOfName(const std::string& name) {
    const SDL_GameControllerButton b = SDL_GameControllerGetButtonFromString(name.c_str());
    if (b != SDL_CONTROLLER_BUTTON_INVALID) return b;
    const SDL_GameControllerAxis a = SDL_GameControllerGetAxisFromString(name.c_str());
    if (a == SDL_CONTROLLER_AXIS_TRIGGERLEFT) return kPadLeftTrigger;
    if (a == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) return kPadRightTrigger;
    return -1;
}

PadState::Pad* PadOf(PlayerInput& in, SDL_JoystickID id) {
    for (PadState::Pad& p : in.pads.pads)
        if (p.id == id) return &p;
    return nullptr;
}

// Counts a press of every action the input is bound to (once, however
// often the action names it).
void NoteTap(PlayerInput& in, bool pad, int code) {
    for (int a = 0; a < kControlActionCount; ++a)
        for (const Binding& b : in.bindings.of[a])
            if (b.pad == pad && b.code == code) {
                in.taps.tap(kControlActions[a]);
                break;
            }
}

int SetHeld(PlayerInput& in, PadState::Pad& p, int input, bool held) {
    if (input < 0 || input >= kPadInputs) return -1;
    const bool was = p.held[input] != 0;
    p.held[input] = held ? 1 : 0;
    if (!held || was) return -1;
    NoteTap(in, true, input);
    return input;
}

bool PadInputHeld(const PlayerInput& in, int input) {
    if (input < 0 || input >= kPadInputs) return false;
    for (const PadState::Pad& p : in.pads.pads)
        if (p.held[input] != 0) return true;
    return false;
}

std::vector<Binding> ResolveNames(const std::vector<std::string>& names, std::vector<std::string>& unknown) {
    std::vector<Binding> bound;
    for (const std::string& name : names) {
        if (name.compare(0, sizeof kPadPrefix - 1, kPadPrefix) == 0) {
            const int input = PadInputOfName(name.substr(sizeof kPadPrefix - 1));
            if (input >= 0) bound.push_back(Binding{true, input});
            else unknown.push_back(name);
            continue;
        }
        // The comma key has a name of its own: its SDL name separates names.
        const SDL_Scancode code = name == "Comma" ? SDL_SCANCODE_COMMA : SDL_GetScancodeFromName(name.c_str());
        if (code != SDL_SCANCODE_UNKNOWN) bound.push_back(Binding{false, code});
        else unknown.push_back(name);
    }
    return bound;
}

// A pad input's name after "pad "; empty for the stick's directions,
// which are never bound by name.
std::string PadInputName(int input) {
    if (input == kPadLeftTrigger) return "lefttrigger";
    if (input == kPadRightTrigger) return "righttrigger";
    if (input < 0 || input >= SDL_CONTROLLER_BUTTON_MAX) return "";
    const char* name = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(input));
    return name != nullptr ? name : "";
}

}  // namespace

Controls BoundNames(const InputBindings& b) {
    Controls c;
    for (int a = 0; a < kControlActionCount; ++a)
        for (const Binding& k : b.of[a]) {
            if (k.pad) {
                const std::string name = PadInputName(k.code);
                if (!name.empty()) c.names[a].push_back(kPadPrefix + name);
            } else if (k.code == SDL_SCANCODE_COMMA) {
                c.names[a].push_back("Comma");
            } else {
                c.names[a].push_back(SDL_GetScancodeName(static_cast<SDL_Scancode>(k.code)));
            }
        }
    return c;
}

InputBindings ResolveControls(const Controls& c, std::vector<std::string>& unknown,
                              std::vector<ControlAction>* defaulted) {
    InputBindings b;
    const Controls defaults = DefaultControls();
    for (int a = 0; a < kControlActionCount; ++a) {
        b.of[a] = ResolveNames(c.names[a], unknown);
        if (!b.of[a].empty() || c.names[a].empty()) continue;
        std::vector<std::string> none;
        b.of[a] = ResolveNames(defaults.names[a], none);
        if (defaulted != nullptr) defaulted->push_back(kControlActions[a]);
    }
    // The left stick walks, and moves on the options screen, as the arrows do.
    struct StickAction {
        ControlAction action;
        int input;
    };
    constexpr StickAction kStickActions[] = {
        {ControlAction::Left, kPadStickLeft},      {ControlAction::Up, kPadStickUp},
        {ControlAction::Right, kPadStickRight},    {ControlAction::Down, kPadStickDown},
        {ControlAction::MenuLeft, kPadStickLeft},  {ControlAction::MenuUp, kPadStickUp},
        {ControlAction::MenuRight, kPadStickRight}, {ControlAction::MenuDown, kPadStickDown},
    };
    for (const StickAction& s : kStickActions) b.of[static_cast<int>(s.action)].push_back(Binding{true, s.input});
    return b;
}

InputBindings LoadInputBindings(const std::string& baseDir, bool writeBack) {
    std::vector<std::string> unknown;
    std::vector<ControlAction> defaulted;
    InputBindings b = ResolveControls(ReadControlsFile(baseDir, writeBack), unknown, &defaulted);
    for (const std::string& name : unknown)
        std::fprintf(stderr, "mervox: %s/controls.txt: \"%s\" names no key or pad button; ignored\n",
                     baseDir.c_str(), name.c_str());
    for (ControlAction a : defaulted)
        std::fprintf(stderr, "mervox: %s/controls.txt: %s has nothing that can be bound; its default keys are used\n",
                     baseDir.c_str(), ControlActionWord(a));
    return b;
}

void OpenPad(PlayerInput& in, int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
    if (c == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
    if (PadOf(in, id) != nullptr) {  // announced twice: keep the first
        SDL_GameControllerClose(c);
        return;
    }
    PadState::Pad p;
    p.controller = c;
    p.id = id;
    in.pads.pads.push_back(p);
}

void ClosePad(PlayerInput& in, SDL_JoystickID id) {
    auto& pads = in.pads.pads;
    for (size_t i = 0; i < pads.size(); ++i) {
        if (pads[i].id != id) continue;
        SDL_GameControllerClose(pads[i].controller);
        pads.erase(pads.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void CloseAllPads(PlayerInput& in) {
    for (PadState::Pad& p : in.pads.pads) SDL_GameControllerClose(p.controller);
    in.pads.pads.clear();
}

void NoteKeyTap(PlayerInput& in, int code) {
    if (code > SDL_SCANCODE_UNKNOWN && code < SDL_NUM_SCANCODES) NoteTap(in, false, code);
}

int NotePadButton(PlayerInput& in, SDL_JoystickID id, int button, bool down) {
    PadState::Pad* p = PadOf(in, id);
    if (p == nullptr || button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return -1;
    return SetHeld(in, *p, button, down);
}

bool AxisHeld(bool wasHeld, int value) { return value >= (wasHeld ? kAxisReleased : kAxisPushed); }

int NotePadAxis(PlayerInput& in, SDL_JoystickID id, int axis, int value) {
    PadState::Pad* p = PadOf(in, id);
    if (p == nullptr) return -1;
    auto follow = [&](int input, int v) { return SetHeld(in, *p, input, AxisHeld(p->held[input] != 0, v)); };
    switch (axis) {
        case SDL_CONTROLLER_AXIS_TRIGGERLEFT: return follow(kPadLeftTrigger, value);
        case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: return follow(kPadRightTrigger, value);
        case SDL_CONTROLLER_AXIS_LEFTX: {
            const int a = follow(kPadStickLeft, -value);
            const int b = follow(kPadStickRight, value);
            return a >= 0 ? a : b;
        }
        case SDL_CONTROLLER_AXIS_LEFTY: {
            const int a = follow(kPadStickUp, -value);
            const int b = follow(kPadStickDown, value);
            return a >= 0 ? a : b;
        }
        default: return -1;
    }
}

bool KeyBoundTo(const PlayerInput& in, ControlAction a, int code) {
    for (const Binding& b : in.bindings.of[static_cast<int>(a)])
        if (!b.pad && b.code == code) return true;
    return false;
}

bool PadInputBoundTo(const PlayerInput& in, ControlAction a, int padInput) {
    for (const Binding& b : in.bindings.of[static_cast<int>(a)])
        if (b.pad && b.code == padInput) return true;
    return false;
}

ActionFrame SampleActions(PlayerInput& in) {
    ActionFrame f = in.taps;
    in.taps = ActionFrame{};
    for (int a = 0; a < kControlActionCount; ++a)
        for (const Binding& b : in.bindings.of[a])
            if (b.pad ? PadInputHeld(in, b.code) : KeyHeld(b.code)) f.held.set(static_cast<size_t>(a));
    return f;
}

void WaitUntilActionsUp(PlayerInput& in, std::initializer_list<ControlAction> actions) {
    for (;;) {
        SDL_PumpEvents();
        bool held = false;
        for (ControlAction a : actions)
            for (const Binding& b : in.bindings.of[static_cast<int>(a)]) held = held || (!b.pad && KeyHeld(b.code));
        if (!held) break;
        SleepOneTick();
    }
    SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
    in.taps = ActionFrame{};
}

}  // namespace mervox
