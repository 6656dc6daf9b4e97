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

    // One beat of a scripted player: `act` runs after every pass until it
    // answers true (it taps, checks, or waits for a state), then `waitAfter`
    // passes go by before the next beat. The program quits after the last.
    struct Beat {
        std::function<bool(const GameState&)> act;
        int waitAfter = 0;
    };

    // Runs the program with `beats` played in order; every beat must end.
    void Play(const std::vector<Beat>& beats) {
        size_t next = 0;
        int wait = 0;
        step = [&](const GameState& g) {
            if (next >= beats.size()) return;
            if (wait > 0) {
                --wait;
                return;
            }
            if (!beats[next].act(g)) return;
            wait = beats[next].waitAfter;
            if (++next == beats.size()) Quit();
        };
        Run();
        EXPECT_EQ(next, beats.size()) << "the taps stopped at beat " << next;
    }

    DesktopSession d;
    uint32_t clock = 1;
    long passes = 0;
    fs::path dir;
    std::function<void(const GameState&)> step;
};

bool TitleIdle(const GameState& g) { return g.RunMode == RunTitle && g.FadeLevel == 0 && g.StartRequested == 0; }

// A beat that taps `code` at once.
std::function<bool(const GameState&)> Tapping(SDL_Scancode code) {
    return [code](const GameState&) {
        Tap(code);
        return true;
    };
}

// On the title a tap of O opens the options screen, a tap of Z changes the
// option under the cursor there, a tap of Escape closes it (and writes
// options.txt) without quitting; then a tap of Z starts a game, in which a
// tap of X jumps (a change recorded for one update), P pauses and P again
// goes on.
TEST_F(TapRig, TapsAnswerOnTheTitleTheOptionsScreenAndInARound) {
    int32_t frameAtPause = -1;
    Play({
        {[](const GameState& g) {  // the title, settled: open the options screen
             if (!TitleIdle(g)) return false;
             Tap(SDL_SCANCODE_O);
             return true;
         },
         3},
        {Tapping(SDL_SCANCODE_Z), 3},  // the colour marks on
        {Tapping(SDL_SCANCODE_ESCAPE), 10},  // and close
        {[&](const GameState& g) {  // back on the title, still running: start a game
             EXPECT_EQ(g.QuitRequested, 0) << "Escape closing the options screen quit the game";
             EXPECT_NE(FileText(dir / "options.txt").find("colour_marks = on"), std::string::npos)
                 << "the options screen did not answer its taps";
             Tap(SDL_SCANCODE_Z);
             return true;
         }},
        {[&](const GameState& g) {
             if (g.RunMode == RunTitle && passes > 2000) {
                 ADD_FAILURE() << "a tap of Z on the title started no game";
                 Quit();
             }
             if (g.RunMode != RunGame) return false;
             EXPECT_EQ(g.Playback, PlaybackOff);
             return true;
         }},
        {[](const GameState& g) {  // in the round, once the ready count is over
             if (g.ReadyCountdown > 0 || g.RoundFrame < 200) return false;
             Tap(SDL_SCANCODE_X);
             return true;
         },
         2},
        {[](const GameState& g) {
             bool jumpSeen = false;
             for (int i = 0; i < g.InputLogIndex && i < kInputLogLength; ++i)
                 jumpSeen = jumpSeen || (g.InputLog[i].keys & KeyJump) != 0;
             EXPECT_TRUE(jumpSeen) << "a tap of X in the round made no jump";
             Tap(SDL_SCANCODE_P);
             return true;
         },
         3},
        {[&](const GameState& g) {
             frameAtPause = g.RoundFrame;
             return true;
         },
         20},
        {[&](const GameState& g) {
             EXPECT_EQ(g.RoundFrame, frameAtPause) << "a tap of P did not pause the round";
             Tap(SDL_SCANCODE_P);
             return true;
         },
         5},
        {[&](const GameState& g) {
             EXPECT_GT(g.RoundFrame, frameAtPause) << "a second tap of P did not go on";
             return true;
         }},
    });
}

// In a round the title plays back (R, the saved replay), the viewer's keys
// answer taps: Space pauses, '.' steps one update on, ',' one back, and
// three taps of '.' queued before one pump step three updates on.
TEST_F(TapRig, TapsDriveTheViewer) {
    // A short recording: a few key changes early on.
    std::ofstream(dir / "data" / "replay.dat", std::ios::binary) << "00010002\n00030000\n00200016\n00230000\n";
    int32_t frame = -1;
    // A beat that checks the frame against the paused one plus `ahead`,
    // then taps `code` (none when 0) that many times.
    const auto atFrame = [&](int ahead, const char* failure, SDL_Scancode code, int taps) {
        return [&frame, ahead, failure, code, taps](const GameState& g) {
            EXPECT_EQ(g.RoundFrame, frame + ahead) << failure;
            for (int k = 0; k < taps; ++k) Tap(code);
            return true;
        };
    };
    Play({
        {[](const GameState& g) {
             if (!TitleIdle(g)) return false;
             if (g.ReplayAvailable != 1) {
                 ADD_FAILURE() << "the title offers no replay to play back";
                 Quit();
                 return false;
             }
             Tap(SDL_SCANCODE_R);
             return true;
         }},
        {[&](const GameState& g) {
             if (g.RunMode == RunTitle && passes > 2000) {
                 ADD_FAILURE() << "a tap of R on the title started no replay";
                 Quit();
             }
             if (g.RunMode != RunGame || g.RoundFrame < 60) return false;
             Tap(SDL_SCANCODE_SPACE);
             return true;
         },
         3},
        {[&](const GameState& g) {
             frame = g.RoundFrame;
             return true;
         },
         10},
        {atFrame(0, "a tap of Space did not pause the viewer", SDL_SCANCODE_PERIOD, 1), 3},
        {atFrame(1, "a tap of '.' did not step one update", SDL_SCANCODE_COMMA, 1), 3},
        {atFrame(0, "a tap of ',' did not step one update back", SDL_SCANCODE_PERIOD, 3), 3},
        {atFrame(3, "three taps of '.' in one pass did not step three updates", SDL_SCANCODE_PERIOD, 0)},
    });
}

}  // namespace
}  // namespace mervox
