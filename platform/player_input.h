// The player's keys and game pads, bound to the game's actions by
// controls.txt, sampled once a pass into an ActionFrame: an action is held
// when any key or pad input bound to it is held, and tapped when one was
// pressed since the last sample, so a tap shorter than a pass is never
// lost and no reader of the frame takes a press from another.
//
// Pads come and go at any time (SDL's game-controller API). Their inputs
// are SDL's buttons, the two triggers, and the left stick's four
// directions, which always act as the arrows as well as anything bound to
// them. The stick and the triggers count as pushed past half their travel
// and as released only below a quarter, so a stick resting near the edge
// of the dead zone does not flicker.
#pragma once

#include <SDL.h>

#include <bitset>
#include <initializer_list>
#include <string>
#include <vector>

#include "save/action_frame.h"
#include "platform/keyboard.h"
#include "save/controls_file.h"

namespace mervox {

constexpr int kPadLeftTrigger = SDL_CONTROLLER_BUTTON_MAX;
constexpr int kPadRightTrigger = kPadLeftTrigger + 1;
constexpr int kPadStickLeft = kPadLeftTrigger + 2;
constexpr int kPadStickUp = kPadLeftTrigger + 3;
constexpr int kPadStickRight = kPadLeftTrigger + 4;
constexpr int kPadStickDown = kPadLeftTrigger + 5;
constexpr int kPadInputs = kPadLeftTrigger + 6;

constexpr int kAxisPushed = 16384;   // of 32767
constexpr int kAxisReleased = 8192;

struct Binding {
    bool pad = false;
    int code = 0;  // an SDL_Scancode, or a pad input
};

struct InputBindings {
    std::vector<Binding> of[kControlActionCount];
};

// The bindings the names stand for. A name that is neither an SDL key name
// (or "Comma") nor "pad " and a pad input's name is left out and listed in
// `unknown`; an action given names of which none can be bound keeps its
// default bindings and is listed in `defaulted`, so no file leaves the
// player without a key to start, play or quit. The stick's directions are
// added to the arrows.
InputBindings ResolveControls(const Controls& c, std::vector<std::string>& unknown,
                              std::vector<ControlAction>* defaulted = nullptr);

struct PadState {
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        uint8_t held[kPadInputs] = {};
    };
    std::vector<Pad> pads;
};

struct PlayerInput {
    PadState pads;
    InputBindings bindings;
    // The presses of a key or pad input bound to each action since the
    // last sample, counted as ActionFrame counts them.
    ActionFrame taps;
};

// The bindings by name, each key by SDL's own name ("Comma" for the comma)
// and each pad input as "pad " and its name, in the order bound; the
// stick's directions are left out.
Controls BoundNames(const InputBindings& b);

// Reads baseDir/controls.txt (see ReadControlsFile; nothing is written
// when `writeBack` is false) and resolves it; each name that names nothing,
// and each action that keeps its defaults, is reported in one line on
// stderr. The screens' words name the keys bound: hand BoundNames of the
// result to drawing (RenderResources::keys).
InputBindings LoadInputBindings(const std::string& baseDir, bool writeBack = true);

// What the message pump hands over: a key pressed (an SDL_Scancode).
void NoteKeyTap(PlayerInput& in, int code);

// What the message pump hands over: a pad connected (by device index) or
// gone (by instance id), a button, a stick or trigger moved. Each returns
// the pad input that became pushed by it, or -1.
void OpenPad(PlayerInput& in, int deviceIndex);
void ClosePad(PlayerInput& in, SDL_JoystickID id);
void CloseAllPads(PlayerInput& in);
int NotePadButton(PlayerInput& in, SDL_JoystickID id, int button, bool down);
int NotePadAxis(PlayerInput& in, SDL_JoystickID id, int axis, int value);

// Whether a held axis stays held, or a released one becomes held.
bool AxisHeld(bool wasHeld, int value);

// Whether a key or a pad input is bound to the action.
bool KeyBoundTo(const PlayerInput& in, ControlAction a, int code);
bool PadInputBoundTo(const PlayerInput& in, ControlAction a, int padInput);

// Every action now, with the presses since the last sample; forgets them.
// The keys held are SDL's key state as the events taken so far left it.
ActionFrame SampleActions(PlayerInput& in);

// Waits, sleeping a tick at a time, until no key bound to the actions is
// held, then forgets the key presses queued meanwhile.
void WaitUntilActionsUp(PlayerInput& in, std::initializer_list<ControlAction> actions);

}  // namespace mervox
