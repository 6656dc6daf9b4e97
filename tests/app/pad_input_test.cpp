// Game pads through SDL's virtual joystick: hot-plug, buttons bound by
// controls.txt, the stick's dead zone and hysteresis, taps between polls,
// and Start pausing.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "platform/message_pump.h"
#include "platform/player_input.h"

namespace mervox {
namespace {

struct VirtualPad : ::testing::Test {
    PlayerInput in;
    KeyboardState keyboard{};
    MessagePump pump;
    std::vector<PlayerCommand> commands;
    int device = -1;
    SDL_Joystick* stick = nullptr;

    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
        ResetKeyboard(keyboard);
        in.keyboard = &keyboard;
        std::vector<std::string> unknown;
        in.bindings = ResolveControls(DefaultControls(), unknown);
        ASSERT_TRUE(unknown.empty());
        pump.keyboard = &keyboard;
        pump.input = &in;
        pump.ctx = this;
        pump.onCommand = [](void* ctx, PlayerCommand c) { static_cast<VirtualPad*>(ctx)->commands.push_back(c); };
        Attach();
    }
    void TearDown() override {
        CloseAllPads(in);
        if (stick != nullptr) SDL_JoystickClose(stick);
        SDL_Quit();
    }
    void Attach() {
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(device);  // the handle the virtual inputs are set through
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        for (int t : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
            SDL_JoystickSetVirtualAxis(stick, t, -32768);
        Pump();
    }
    void Pump() {
        SDL_JoystickUpdate();
        DispatchPendingMessages(pump);
    }
    void Button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0);
        Pump();
    }
    void Axis(SDL_GameControllerAxis a, int value) {
        SDL_JoystickSetVirtualAxis(stick, a, static_cast<Sint16>(value));
        Pump();
    }
};

TEST_F(VirtualPad, ButtonsAndTheStickReachTheGameLikeKeys) {
    ASSERT_EQ(in.pads.pads.size(), 1u) << "the pad connected";

    // A tap between two polls counts once; a held button at every poll.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Z));
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Z));
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Q));
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Q));
    EXPECT_FALSE(PollPlayerKey(in, HostKey::E));
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Q));
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Up));
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    // A virtual trigger's rest is the bottom of its joystick axis.
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Ctrl));
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Ctrl));

    // The stick: a small tilt does nothing; a deliberate one holds until it
    // comes well back.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Right));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Right));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Right));
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Left));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 4000);
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Right));
    // A flick up and back between two polls is not lost.
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Up));
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Up));

    // Start pauses; the other buttons ask for nothing.
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], PlayerCommand::Pause);

    // Unplugged while held: nothing stays held; plugged in again, it works.
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::X));
    SDL_JoystickClose(stick);
    stick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    Pump();
    EXPECT_TRUE(in.pads.pads.empty());
    EXPECT_FALSE(PollPlayerKey(in, HostKey::X));
    Attach();
    ASSERT_EQ(in.pads.pads.size(), 1u);
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::X));
}

TEST_F(VirtualPad, RebindingMovesAnActionAndUnknownNamesAreLeftOut) {
    Controls c = DefaultControls();
    c.names[static_cast<int>(ControlAction::Kick)] = {"Space", "pad rightshoulder", "pad nosuchbutton", "Nokey"};
    std::vector<std::string> unknown;
    in.bindings = ResolveControls(c, unknown);
    EXPECT_EQ(unknown, (std::vector<std::string>{"pad nosuchbutton", "Nokey"}));
    EXPECT_TRUE(KeyBoundTo(in, ControlAction::Kick, SDL_SCANCODE_SPACE));
    EXPECT_FALSE(KeyBoundTo(in, ControlAction::Kick, SDL_SCANCODE_Z));

    Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_FALSE(PollPlayerKey(in, HostKey::Z)) << "a no longer kicks";
    Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_TRUE(PollPlayerKey(in, HostKey::Z));
    EXPECT_TRUE(PollPlayerKey(in, HostKey::E)) << "still turns right too";
}

}  // namespace
}  // namespace mervox
