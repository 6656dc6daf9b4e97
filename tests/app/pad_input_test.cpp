// Game pads through SDL's virtual joystick: hot-plug, buttons bound by
// controls.txt, the stick's dead zone and hysteresis, taps between polls,
// and Start pausing.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/desktop/program.h"
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

    // A line of which nothing can be bound keeps the action's defaults, so
    // no file locks the player out; an empty line is the player's choice.
    c = DefaultControls();
    c.names[static_cast<int>(ControlAction::Escape)] = {"Esc", "pad 99"};
    c.names[static_cast<int>(ControlAction::Kick)] = {"\xe3\x82\xad\xe3\x83\x83\xe3\x82\xaf"};
    c.names[static_cast<int>(ControlAction::Pause)] = {};
    unknown.clear();
    std::vector<ControlAction> defaulted;
    in.bindings = ResolveControls(c, unknown, &defaulted);
    EXPECT_EQ(unknown.size(), 3u);
    EXPECT_EQ(defaulted, (std::vector<ControlAction>{ControlAction::Kick, ControlAction::Escape}));
    EXPECT_TRUE(KeyBoundTo(in, ControlAction::Escape, SDL_SCANCODE_ESCAPE));
    EXPECT_TRUE(PadInputBoundTo(in, ControlAction::Escape, SDL_CONTROLLER_BUTTON_BACK));
    EXPECT_TRUE(KeyBoundTo(in, ControlAction::Kick, SDL_SCANCODE_Z));
    EXPECT_TRUE(in.bindings.of[static_cast<int>(ControlAction::Pause)].empty());
}

// Every action polled as the desktop polls it, from each input bound to
// any action: a key held as SDL holds it, a key tapped through the message
// pump, a pad input pushed through the virtual pad. Exactly the actions
// bound to that input answer, asked for by their own name or by the key
// the round and the title poll.
TEST_F(VirtualPad, EveryActionAnswersToItsOwnBindingsOnly) {
    const std::pair<HostKey, const char*> hostKeys[] = {
        {HostKey::Left, "left"},     {HostKey::Up, "up"},          {HostKey::Right, "right"},
        {HostKey::Down, "down"},     {HostKey::Z, "kick"},         {HostKey::X, "jump"},
        {HostKey::Q, "turn_left"},   {HostKey::E, "turn_right"},   {HostKey::R, "replay"},
        {HostKey::F, "framerate"},   {HostKey::B, "music"},        {HostKey::S, "effects"},
        {HostKey::Ctrl, "fast_forward"}, {HostKey::Escape, "escape"},
    };
    std::vector<Binding> inputs;
    for (const std::vector<Binding>& of : in.bindings.of) inputs.insert(inputs.end(), of.begin(), of.end());
    auto bound = [&](ControlAction a, const Binding& input) {
        for (const Binding& b : in.bindings.of[static_cast<int>(a)])
            if (b.pad == input.pad && b.code == input.code) return true;
        return false;
    };
    auto expectOnly = [&](const Binding& input, const char* how) {
        for (ControlAction a : kControlActions)
            EXPECT_EQ(PollAction(in, a), bound(a, input)) << ControlActionWord(a) << ", " << how << " " << input.code;
        for (const auto& [key, word] : hostKeys) {
            EXPECT_EQ(ControlActionWord(ActionOfHostKey(key)), std::string(word));
            EXPECT_EQ(PollPlayerKey(in, key), bound(ActionOfHostKey(key), input)) << word << ", " << how << " " << input.code;
        }
    };
    auto forgetAll = [&] {
        for (ControlAction a : kControlActions) PollAction(in, a);
    };
    Uint8* keyState = const_cast<Uint8*>(SDL_GetKeyboardState(nullptr));
    auto setPad = [&](int input, bool down) {
        if (input < SDL_CONTROLLER_BUTTON_MAX) return SDL_JoystickSetVirtualButton(stick, input, down ? 1 : 0);
        const int full = down ? 32767 : 0;
        if (input == kPadLeftTrigger) return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, down ? 32767 : -32768);
        if (input == kPadRightTrigger) return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, down ? 32767 : -32768);
        if (input == kPadStickLeft) return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(-full));
        if (input == kPadStickRight) return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(full));
        if (input == kPadStickUp) return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(-full));
        return SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(full));
    };
    for (ControlAction a : kControlActions) EXPECT_FALSE(in.bindings.of[static_cast<int>(a)].empty()) << ControlActionWord(a);
    for (const Binding& input : inputs) {
        if (input.pad) {
            ASSERT_EQ(setPad(input.code, true), 0) << SDL_GetError();
            Pump();
            expectOnly(input, "pad input");
            ASSERT_EQ(setPad(input.code, false), 0);
            Pump();
            forgetAll();
            continue;
        }
        keyState[input.code] = 1;
        expectOnly(input, "key held");
        keyState[input.code] = 0;
        forgetAll();
        ResetKeyboard(keyboard);  // a press at the moment it was seen held is that hold's
        // A tap between two polls, one action at a time: the first poll
        // takes the tap.
        for (ControlAction a : kControlActions) {
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.keysym.scancode = static_cast<SDL_Scancode>(input.code);
            ASSERT_EQ(SDL_PushEvent(&e), 1);
            DispatchPendingMessages(pump);
            EXPECT_EQ(PollAction(in, a), bound(a, input)) << ControlActionWord(a) << ", key tapped " << input.code;
            forgetAll();
        }
    }
}


// The whole program on a test clock, played from a virtual pad only: a on
// the title starts a game, the round is played with the stick, the d-pad
// and the buttons until its time runs out, and Back on the title quits.
struct PadPlayer {
    VirtualPad* pad = nullptr;
    uint32_t clock = 1;
    int32_t* quit = nullptr;
    long roundPolls = 0;        // polls of the left arrow: one a round update
    uint32_t lastRoundPollMs = 0;
    long kicksSeen = 0;

    void Set(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad->stick, b, down); }
    void Set(SDL_GameControllerAxis a, int v) { SDL_JoystickSetVirtualAxis(pad->stick, a, static_cast<Sint16>(v)); }

    void Script() {
        const bool inRound = roundPolls > 0 && clock - lastRoundPollMs < 100;
        const int step = static_cast<int>(clock / 250) % 8;
        Set(SDL_CONTROLLER_BUTTON_A, (clock >= 1000 && clock < 1100) || (inRound && step == 2));
        Set(SDL_CONTROLLER_BUTTON_B, inRound && step == 5);
        Set(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, inRound && step == 7 && clock % 4000 < 2000);
        Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, inRound && step == 4);
        Set(SDL_CONTROLLER_AXIS_LEFTX, inRound && step == 0 ? 30000 : inRound && step == 3 ? -30000 : 0);
        Set(SDL_CONTROLLER_AXIS_LEFTY, inRound && step == 6 ? -30000 : 0);
        Set(SDL_CONTROLLER_BUTTON_BACK, roundPolls > 0 && clock - lastRoundPollMs > 3000);
        pad->Pump();
    }
};

PadPlayer& PP(void* ctx) { return *static_cast<PadPlayer*>(ctx); }

TEST_F(VirtualPad, ARoundIsPlayedToItsEndFromThePad) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "mervox-pad-round";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "data");
    std::ofstream(dir / "data" / "scr.hsc", std::ios::binary) << "000000\r\n000000\r\n000000";

    PadPlayer player;
    player.pad = this;
    ProgramPlatform platform;
    platform.ctx = &player;
    platform.connect = [](void* ctx, const PlatformEvents& e) { PP(ctx).quit = e.quitRequested; };
    platform.clockMs = [](void* ctx) { return PP(ctx).clock; };
    platform.pumpMessagesFor = [](void* ctx, int ms) {
        PadPlayer& p = PP(ctx);
        p.clock += ms > 0 ? static_cast<uint32_t>(ms) : 1u;
        p.Script();
        if (p.clock > 400000 && p.quit != nullptr) *p.quit = 1;  // a safety net
    };
    platform.keyDown = [](void* ctx, HostKey key) {
        PadPlayer& p = PP(ctx);
        if (key == HostKey::Left) {
            p.roundPolls += 1;
            p.lastRoundPollMs = p.clock;
        }
        const bool down = PollPlayerKey(p.pad->in, key);
        if (key == HostKey::Z && down && p.roundPolls > 0) p.kicksSeen += 1;
        return down;
    };
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    EXPECT_EQ(RunProgramOn(platform, run), 0);

    EXPECT_LT(player.clock, 300000u) << "Back on the title quit";
    EXPECT_GT(player.roundPolls, 3600) << "the round ran out its time";
    EXPECT_GT(player.kicksSeen, 10);
    // The round was recorded as the best one: a kick, a jump and moves.
    ASSERT_TRUE(std::filesystem::exists(dir / "data" / "replay.dat"));
    EXPECT_GT(std::filesystem::file_size(dir / "data" / "replay.dat"), 200u);
    std::filesystem::remove_all(dir);
}

TEST_F(VirtualPad, ThePadWorksTheOptionsScreen) {
    ASSERT_EQ(in.pads.pads.size(), 1u);
    const struct {
        SDL_GameControllerButton button;
        ControlAction key;
    } buttons[] = {{SDL_CONTROLLER_BUTTON_START, ControlAction::Options},
                   {SDL_CONTROLLER_BUTTON_DPAD_DOWN, ControlAction::MenuDown},
                   {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, ControlAction::MenuRight},
                   {SDL_CONTROLLER_BUTTON_A, ControlAction::MenuChange},
                   {SDL_CONTROLLER_BUTTON_B, ControlAction::MenuBack}};
    for (const auto& b : buttons) {
        // A tap between two polls counts once, and for its own key only.
        Button(b.button, true);
        Button(b.button, false);
        EXPECT_FALSE(PollAction(in, b.key == ControlAction::MenuUp ? ControlAction::MenuDown : ControlAction::MenuUp))
            << b.button;
        EXPECT_TRUE(PollAction(in, b.key)) << b.button;
        EXPECT_FALSE(PollAction(in, b.key)) << b.button;
    }
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_TRUE(PollAction(in, ControlAction::MenuLeft));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_FALSE(PollAction(in, ControlAction::MenuLeft));
}

}  // namespace
}  // namespace mervox
