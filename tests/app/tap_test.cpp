// A key pressed and released before the program looks (an on-screen
// keyboard, switch access, a remote desktop, a late pass on a loaded
// machine) answers once, through the real event path: SDL's queue, the
// message pump, the bindings of controls.txt, the pass's input. Each tap
// here is a key-down and its key-up pushed together, so SDL never sees the
// key held: only the event can make it count.
#include <gtest/gtest.h>

#include <SDL.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/desktop/desktop_session.h"
#include "app/desktop/program.h"
#include "game/state/game_state.h"
#include "platform/player_input.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

void Tap(SDL_Scancode code) {
    for (const Uint32 type : {Uint32{SDL_KEYDOWN}, Uint32{SDL_KEYUP}}) {
        SDL_Event e{};
        e.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = code;
        e.key.keysym.sym = SDL_GetKeyFromScancode(code);
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
    }
}

void Quit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
}

// The desktop's keyboard, pads, bindings and message pump, with SDL's
// dummy video driver, a clock that waiting moves on at once and frames
// only counted. `step` runs after every pass with the state it left.
class TapRig : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        std::vector<std::string> unknown;
        d.input.bindings = ResolveControls(DefaultControls(), unknown);
        dir = fs::path(::testing::TempDir()) / ("mervox-tap-" + std::string(::testing::UnitTest::GetInstance()
                                                                            ->current_test_info()
                                                                            ->name()));
        fs::remove_all(dir);
        fs::create_directories(dir / "data");
    }
    void TearDown() override {
        SDL_Quit();
        fs::remove_all(dir);
    }

    // The desktop's events and keys on a clock that waiting moves on at
    // once; no window to show frames in.
    class Platform final : public ProgramPlatform {
    public:
        Platform(DesktopSession& d, uint32_t& clock) : real_(d), clock_(clock) {}
        void connect(const PlatformEvents& events) const override { real_.connect(events); }
        uint32_t clockMs() const override { return clock_; }
        void pumpMessagesFor(int ms) const override {
            clock_ += ms > 0 ? static_cast<uint32_t>(ms) : 1u;
            real_.pumpMessagesFor(0);
        }
        ActionFrame sampleInput() const override { return real_.sampleInput(); }
        bool readsPlayerActions() const override { return true; }

    private:
        DesktopPlatform real_;
        uint32_t& clock_;
    };

    // Runs the program until `step` quits it or the safety net.
    void Run() {
        ProgramRun run;
        run.baseDir = dir.string();
        run.sound = false;
        run.afterPass = [this](const GameState& g) {
            passes += 1;
            if (passes > 20000) Quit();  // a safety net
            step(g);
        };
        EXPECT_EQ(RunProgramOn(Platform(d, clock), run), 0);
    }

    std::string FileText(const fs::path& p) const {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    DesktopSession d;
    uint32_t clock = 1;
    long passes = 0;
    fs::path dir;
    std::function<void(const GameState&)> step;
};

bool TitleIdle(const GameState& g) { return g.RunMode == RunTitle && g.FadeLevel == 0 && g.StartRequested == 0; }

// On the title a tap of O opens the options screen, a tap of Z changes the
// option under the cursor there, a tap of Escape closes it (and writes
// options.txt) without quitting; then a tap of Z starts a game, in which a
// tap of X jumps (a change recorded for one update), P pauses and P again
// goes on.
TEST_F(TapRig, TapsAnswerOnTheTitleTheOptionsScreenAndInARound) {
    int phase = 0;
    int wait = 0;
    int32_t frameAtPause = -1;
    bool jumpSeen = false;
    step = [&](const GameState& g) {
        if (wait > 0) {
            --wait;
            return;
        }
        switch (phase) {
            case 0:  // the title, settled: open the options screen
                if (!TitleIdle(g)) return;
                Tap(SDL_SCANCODE_O);
                wait = 3;
                phase = 1;
                return;
            case 1:  // the colour marks on, and close
                Tap(SDL_SCANCODE_Z);
                wait = 3;
                phase = 2;
                return;
            case 2:
                Tap(SDL_SCANCODE_ESCAPE);
                wait = 10;
                phase = 3;
                return;
            case 3:  // back on the title, still running: start a game
                EXPECT_EQ(g.QuitRequested, 0) << "Escape closing the options screen quit the game";
                EXPECT_NE(FileText(dir / "options.txt").find("colour_marks = on"), std::string::npos)
                    << "the options screen did not answer its taps";
                Tap(SDL_SCANCODE_Z);
                phase = 4;
                return;
            case 4:
                if (g.RunMode == RunTitle && passes > 2000) {
                    ADD_FAILURE() << "a tap of Z on the title started no game";
                    Quit();
                    phase = 99;
                }
                if (g.RunMode != RunGame) return;
                EXPECT_EQ(g.Playback, PlaybackOff);
                phase = 5;
                return;
            case 5:  // in the round, once the ready count is over
                if (g.ReadyCountdown > 0 || g.RoundFrame < 200) return;
                Tap(SDL_SCANCODE_X);
                wait = 2;
                phase = 6;
                return;
            case 6:
                for (int i = 0; i < g.InputLogIndex && i < kInputLogLength; ++i)
                    jumpSeen = jumpSeen || (g.InputLog[i].keys & KeyJump) != 0;
                EXPECT_TRUE(jumpSeen) << "a tap of X in the round made no jump";
                Tap(SDL_SCANCODE_P);
                wait = 3;
                phase = 7;
                return;
            case 7:
                frameAtPause = g.RoundFrame;
                wait = 20;
                phase = 8;
                return;
            case 8:
                EXPECT_EQ(g.RoundFrame, frameAtPause) << "a tap of P did not pause the round";
                Tap(SDL_SCANCODE_P);
                wait = 5;
                phase = 9;
                return;
            case 9:
                EXPECT_GT(g.RoundFrame, frameAtPause) << "a second tap of P did not go on";
                Quit();
                phase = 99;
                return;
            default:
                return;
        }
    };
    Run();
    EXPECT_EQ(phase, 99);
}

// In a round the title plays back (R, the saved replay), the viewer's keys
// answer taps: Space pauses, '.' steps one update on, ',' one back, and
// three taps of '.' queued before one pump step three updates on.
TEST_F(TapRig, TapsDriveTheViewer) {
    // A short recording: a few key changes early on.
    std::ofstream(dir / "data" / "replay.dat", std::ios::binary) << "00010002\n00030000\n00200016\n00230000\n";
    int phase = 0;
    int wait = 0;
    int32_t frame = -1;
    step = [&](const GameState& g) {
        if (wait > 0) {
            --wait;
            return;
        }
        switch (phase) {
            case 0:
                if (!TitleIdle(g)) return;
                ASSERT_EQ(g.ReplayAvailable, 1);
                Tap(SDL_SCANCODE_R);
                phase = 1;
                return;
            case 1:
                if (g.RunMode == RunTitle && passes > 2000) {
                    ADD_FAILURE() << "a tap of R on the title started no replay";
                    Quit();
                    phase = 99;
                }
                if (g.RunMode != RunGame || g.RoundFrame < 60) return;
                Tap(SDL_SCANCODE_SPACE);
                wait = 3;
                phase = 2;
                return;
            case 2:
                frame = g.RoundFrame;
                wait = 10;
                phase = 3;
                return;
            case 3:
                EXPECT_EQ(g.RoundFrame, frame) << "a tap of Space did not pause the viewer";
                Tap(SDL_SCANCODE_PERIOD);
                wait = 3;
                phase = 4;
                return;
            case 4:
                EXPECT_EQ(g.RoundFrame, frame + 1) << "a tap of '.' did not step one update";
                Tap(SDL_SCANCODE_COMMA);
                wait = 3;
                phase = 5;
                return;
            case 5:
                EXPECT_EQ(g.RoundFrame, frame) << "a tap of ',' did not step one update back";
                for (int k = 0; k < 3; ++k) Tap(SDL_SCANCODE_PERIOD);
                wait = 3;
                phase = 6;
                return;
            case 6:
                EXPECT_EQ(g.RoundFrame, frame + 3) << "three taps of '.' in one pass did not step three updates";
                Quit();
                phase = 99;
                return;
            default:
                return;
        }
    };
    Run();
    EXPECT_EQ(phase, 99);
}

}  // namespace
}  // namespace mervox
