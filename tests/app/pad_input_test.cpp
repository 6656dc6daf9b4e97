// Game pads through SDL's virtual joystick: hot-plug, buttons bound by
// controls.txt, the stick's dead zone and hysteresis, taps between polls,
// and Start pausing.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "app/desktop/program.h"
#include "game/state/game_state.h"
#include "platform/message_pump.h"
#include "platform/player_input.h"

namespace mervox {
namespace {

struct VirtualPad : ::testing::Test, PumpListener {
    PlayerInput in;
    MessagePump pump;
    std::vector<PlayerCommand> commands;
    int device = -1;
    SDL_Joystick* stick = nullptr;

    void SetUp() override {
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_Init(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
        std::vector<std::string> unknown;
        in.bindings = ResolveControls(DefaultControls(), unknown);
        ASSERT_TRUE(unknown.empty());
        pump.input = &in;
        pump.listener = this;
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
    void command(PlayerCommand c) override { commands.push_back(c); }
    // Whether the key is down in a pass sampled now.
    bool Key(HostKey k) { return RoundInputOf(SampleActions(in)).down(k); }
    bool Action(ControlAction a) { return SampleActions(in).down(a); }
};

TEST_F(VirtualPad, ButtonsAndTheStickReachTheGameLikeKeys) {
    ASSERT_EQ(in.pads.pads.size(), 1u) << "the pad connected";

    // A tap between two samples counts once; a held button in every sample.
    Button(SDL_CONTROLLER_BUTTON_A, true);
    Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_TRUE(Key(HostKey::Kick));
    EXPECT_FALSE(Key(HostKey::Kick));
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true);
    EXPECT_TRUE(Key(HostKey::TurnLeft));
    EXPECT_TRUE(Key(HostKey::TurnLeft));
    EXPECT_FALSE(Key(HostKey::TurnRight));
    Button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false);
    EXPECT_FALSE(Key(HostKey::TurnLeft));
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Key(HostKey::Up));
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    // A virtual trigger's rest is the bottom of its joystick axis.
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    EXPECT_TRUE(Key(HostKey::Ctrl));
    Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    EXPECT_FALSE(Key(HostKey::Ctrl));

    // The stick: a small tilt does nothing; a deliberate one holds until it
    // comes well back.
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    EXPECT_FALSE(Key(HostKey::Right));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 20000);
    EXPECT_TRUE(Key(HostKey::Right));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 12000);
    EXPECT_TRUE(Key(HostKey::Right));
    EXPECT_FALSE(Key(HostKey::Left));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 4000);
    EXPECT_FALSE(Key(HostKey::Right));
    // A flick up and back between two samples is not lost.
    Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_TRUE(Key(HostKey::Up));
    EXPECT_FALSE(Key(HostKey::Up));

    // Start pauses; the other buttons ask for nothing.
    Button(SDL_CONTROLLER_BUTTON_START, true);
    Button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], PlayerCommand::Pause);

    // Unplugged while held: nothing stays held; plugged in again, it works.
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(Key(HostKey::Jump));
    SDL_JoystickClose(stick);
    stick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    Pump();
    EXPECT_TRUE(in.pads.pads.empty());
    EXPECT_FALSE(Key(HostKey::Jump));
    Attach();
    ASSERT_EQ(in.pads.pads.size(), 1u);
    Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(Key(HostKey::Jump));
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
    EXPECT_FALSE(Key(HostKey::Kick)) << "a no longer kicks";
    Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true);
    EXPECT_TRUE(Key(HostKey::Kick));
    EXPECT_TRUE(Key(HostKey::TurnRight)) << "still turns right too";

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

// Every action sampled as the desktop samples it, from each input bound to
// any action: a key held as SDL holds it, a key tapped through the message
// pump, a pad input pushed through the virtual pad. Exactly the actions
// bound to that input answer, by their own name or by the key the round
// and the title read.
TEST_F(VirtualPad, EveryActionAnswersToItsOwnBindingsOnly) {
    const std::pair<HostKey, const char*> hostKeys[] = {
        {HostKey::Left, "left"},           {HostKey::Up, "up"},
        {HostKey::Right, "right"},         {HostKey::Down, "down"},
        {HostKey::Kick, "kick"},           {HostKey::Jump, "jump"},
        {HostKey::TurnLeft, "turn_left"},  {HostKey::TurnRight, "turn_right"},
        {HostKey::Replay, "replay"},       {HostKey::FrameRate, "framerate"},
        {HostKey::Music, "music"},         {HostKey::Effects, "effects"},
        {HostKey::Ctrl, "fast_forward"},   {HostKey::Escape, "escape"},
    };
    std::vector<Binding> inputs;
    for (const std::vector<Binding>& of : in.bindings.of) inputs.insert(inputs.end(), of.begin(), of.end());
    auto bound = [&](ControlAction a, const Binding& input) {
        for (const Binding& b : in.bindings.of[static_cast<int>(a)])
            if (b.pad == input.pad && b.code == input.code) return true;
        return false;
    };
    auto expectOnly = [&](const Binding& input, const char* how) {
        const ActionFrame f = SampleActions(in);
        for (ControlAction a : kControlActions)
            EXPECT_EQ(f.down(a), bound(a, input)) << ControlActionWord(a) << ", " << how << " " << input.code;
        for (const auto& [key, word] : hostKeys) {
            EXPECT_EQ(ControlActionWord(ActionOfHostKey(key)), std::string(word));
            EXPECT_EQ(RoundInputOf(f).down(key), bound(ActionOfHostKey(key), input))
                << word << ", " << how << " " << input.code;
        }
    };
    auto forgetAll = [&] { SampleActions(in); };
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
        // A tap between two samples: every action bound to the key has it.
        for (ControlAction a : kControlActions) {
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.keysym.scancode = static_cast<SDL_Scancode>(input.code);
            ASSERT_EQ(SDL_PushEvent(&e), 1);
            DispatchPendingMessages(pump);
            EXPECT_EQ(Action(a), bound(a, input)) << ControlActionWord(a) << ", key tapped " << input.code;
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
    long roundUpdates = 0;
    bool inRound = false;       // after the last pass
    uint32_t lastRoundPassMs = 0;
    long kicksSeen = 0;

    void Set(SDL_GameControllerButton b, bool down) { SDL_JoystickSetVirtualButton(pad->stick, b, down); }
    void Set(SDL_GameControllerAxis a, int v) { SDL_JoystickSetVirtualAxis(pad->stick, a, static_cast<Sint16>(v)); }

    void Script() {
        const int step = static_cast<int>(clock / 250) % 8;
        Set(SDL_CONTROLLER_BUTTON_A, (clock >= 1000 && clock < 1100) || (inRound && step == 2));
        Set(SDL_CONTROLLER_BUTTON_B, inRound && step == 5);
        Set(SDL_CONTROLLER_BUTTON_LEFTSHOULDER, inRound && step == 7 && clock % 4000 < 2000);
        Set(SDL_CONTROLLER_BUTTON_DPAD_DOWN, inRound && step == 4);
        Set(SDL_CONTROLLER_AXIS_LEFTX, inRound && step == 0 ? 30000 : inRound && step == 3 ? -30000 : 0);
        Set(SDL_CONTROLLER_AXIS_LEFTY, inRound && step == 6 ? -30000 : 0);
        Set(SDL_CONTROLLER_BUTTON_BACK, roundUpdates > 0 && !inRound && clock - lastRoundPassMs > 3000);
        pad->Pump();
    }
};

// The program's platform: the test clock, the virtual pad's events, the
// pad sampled as the desktop samples it.
class PadPlatform final : public ProgramPlatform {
public:
    explicit PadPlatform(PadPlayer& p) : p_(p) {}
    void connect(const PlatformEvents& e) const override { p_.quit = e.quitRequested; }
    uint32_t clockMs() const override { return p_.clock; }
    void pumpMessagesFor(int ms) const override {
        p_.clock += ms > 0 ? static_cast<uint32_t>(ms) : 1u;
        p_.Script();
        if (p_.clock > 400000 && p_.quit != nullptr) *p_.quit = 1;  // a safety net
    }
    ActionFrame sampleInput() const override {
        const ActionFrame f = SampleActions(p_.pad->in);
        if (p_.inRound && f.down(ControlAction::Kick)) p_.kicksSeen += 1;
        return f;
    }

private:
    PadPlayer& p_;
};

TEST_F(VirtualPad, ARoundIsPlayedToItsEndFromThePad) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "mervox-pad-round";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "data");
    std::ofstream(dir / "data" / "scr.hsc", std::ios::binary) << "000000\r\n000000\r\n000000";

    PadPlayer player;
    player.pad = this;
    ProgramRun run;
    run.baseDir = dir.string();
    run.sound = false;
    int32_t lastFrame = 0;
    run.afterPass = [&](const GameState& g) {
        player.inRound = g.RunMode != RunTitle;
        if (player.inRound) player.lastRoundPassMs = player.clock;
        if (g.RoundFrame != lastFrame && g.RoundFrame != 0) player.roundUpdates += 1;
        lastFrame = g.RoundFrame;
    };
    EXPECT_EQ(RunProgramOn(PadPlatform(player), run), 0);

    EXPECT_LT(player.clock, 300000u) << "Back on the title quit";
    EXPECT_GT(player.roundUpdates, 3600) << "the round ran out its time";
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
        // A tap between two samples counts once, and for its own key only.
        Button(b.button, true);
        Button(b.button, false);
        const ActionFrame f = SampleActions(in);
        EXPECT_FALSE(f.down(b.key == ControlAction::MenuUp ? ControlAction::MenuDown : ControlAction::MenuUp))
            << b.button;
        EXPECT_TRUE(f.down(b.key)) << b.button;
        EXPECT_FALSE(Action(b.key)) << b.button;
    }
    Axis(SDL_CONTROLLER_AXIS_LEFTX, -20000);
    EXPECT_TRUE(Action(ControlAction::MenuLeft));
    Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_FALSE(Action(ControlAction::MenuLeft));
}

}  // namespace
}  // namespace mervox
