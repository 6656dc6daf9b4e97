// The words that name keys name the keys the player bound in controls.txt,
// and with the default bindings read exactly as they always have (the
// pictures of the screens depend on it).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/board/board_words.h"
#include "app/viewer/watch_overlay.h"
#include "app/viewer/watch_session.h"
#include "draw/frame_buffer.h"
#include "platform/player_input.h"
#include "render/player_words.h"
#include "render/render_resources.h"
#include "save/key_names.h"
#include "tests/save/save_test_dir.h"

namespace mervox {
namespace {

std::string Narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {  // the arrows and the kana, as UTF-8 (all below U+10000)
            if (c >= 0x800) {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
            }
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The texts as drawing shows them with the keys `keys`.
struct Words {
    Controls keys = DefaultControls();
    std::string operator()(const char16_t* text, TextLanguage l) const { return Narrow(WithBoundKeys(text, l, keys)); }
    std::string caption(int k, int line) const { return Narrow(EnglishCaptionLine(k, line, keys)); }
    std::string boxes() const {
        std::string out;
        for (ControlAction a : {ControlAction::Left, ControlAction::Up, ControlAction::Right, ControlAction::Down,
                                ControlAction::Kick, ControlAction::Jump, ControlAction::TurnLeft,
                                ControlAction::TurnRight})
            out += Narrow(KeyBoxLabel(keys, a)) + " ";
        return out;
    }
};

constexpr TextLanguage kJa = TextLanguage::Japanese;
constexpr TextLanguage kEn = TextLanguage::English;

// Every text that names keys, as the defaults show it.
void ExpectTheDefaultTexts(const Words& Shown) {
    EXPECT_EQ(Shown(OptionsScreenWords(kEn).keys, kEn), "Up/Down choose   Left/Right/Z change   Esc/O back");
    EXPECT_EQ(Shown(OptionsScreenWords(kJa).keys, kJa), "↑↓ 選ぶ   ←→ Z 変える   Esc O 戻る");
    EXPECT_EQ(Shown(OptionsScreenWords(kEn).titleLine, kEn), "O : OPTIONS");
    EXPECT_EQ(Shown(OptionsScreenWords(kJa).titleLine, kJa), "O : オプション");
    EXPECT_EQ(Shown(BoardWords(kEn).keys, kEn), "Up/Down choose   Z watch   Esc/L back");
    EXPECT_EQ(Shown(BoardWords(kJa).keys, kJa), "↑↓ 選ぶ   Z 見る   Esc L 戻る");
    EXPECT_EQ(Shown(BoardWords(kEn).titleLine, kEn), "L : BOARD");
    EXPECT_EQ(Shown(BoardWords(kJa).titleLine, kJa), "L : ボード");
    EXPECT_EQ(Shown(FullScreenQuestionWords(kEn).hint, kEn), "Arrows choose, Enter answers, Esc: no");
    EXPECT_EQ(Shown(FullScreenQuestionWords(kJa).hint, kJa), "← →  Enter");
    EXPECT_EQ(Shown.caption(0, 1), "Kick with Z, jump onto a block with X, turn the board with Q and E.");
    EXPECT_EQ(Shown.caption(2, 0), "A kicked block (Z) slides until it hits a wall or another block:");
    EXPECT_EQ(PracticeHelpLine(Shown.keys), "Backspace: back 5 s   Home: back to the takeover   Esc: leave and save");
    EXPECT_EQ(Shown.boxes(), "← ↑ → ↓ Z X Q E ");
}

TEST(BoundKeys, TheDefaultBindingsReadAsTheyAlwaysHave) {
    ExpectTheDefaultTexts(Words{});
    // What drawing is handed when nothing binds keys.
    ExpectTheDefaultTexts(Words{RenderResources().keys});
    // The same once the desktop has bound the default file's keys and named
    // them by SDL's names.
    std::vector<std::string> unknown;
    const Controls bound = BoundNames(ResolveControls(DefaultControls(), unknown));
    ASSERT_TRUE(unknown.empty());
    ExpectTheDefaultTexts(Words{bound});
}

TEST(BoundKeys, ReboundKeysShowInTheHelpLinesCaptionsAndKeyBoxes) {
    mervox_test::TempGameDir dir(false);
    dir.write("controls.txt",
              "practice_back_5s = z, pad lefttrigger\n"   // SDL's name for the key, not the file's spelling
              "practice_to_take_over = pad rightstick, F5\n"  // the first key, not the first name
              "escape = no such key, Q\n"                  // a name that binds nothing is not shown
              "kick = Space\n"
              "up = W\n"
              "turn_left = Comma\n"
              "menu_up = W\n"
              "menu_down = S\n"
              "menu_change = Z\n"                          // Enter no longer answers the question
              "menu_back = Backspace\n"
              "options = Comma\n"
              "board =\n");
    ::testing::internal::CaptureStderr();
    const Words Shown{BoundNames(LoadInputBindings(dir.dir(), false))};
    ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(PracticeHelpLine(Shown.keys), "Z: back 5 s   F5: back to the takeover   Q: leave and save");
    EXPECT_EQ(Shown(OptionsScreenWords(kEn).keys, kEn), "W/S choose   Left/Right/Z change   Backspace/, back");
    EXPECT_EQ(Shown(OptionsScreenWords(kJa).keys, kJa), "W S 選ぶ   ←→ Z 変える   Backspace , 戻る");
    EXPECT_EQ(Shown(OptionsScreenWords(kEn).titleLine, kEn), ", : OPTIONS");
    EXPECT_EQ(Shown(BoardWords(kEn).keys, kEn), "W/S choose   Z watch   Backspace/- back") << "board has no key";
    EXPECT_EQ(Shown(FullScreenQuestionWords(kEn).hint, kEn), "Arrows choose, Z answers, Backspace: no");
    EXPECT_EQ(Shown.caption(2, 0), "A kicked block (Space) slides until it hits a wall or another block:");
    EXPECT_EQ(Shown.boxes(), "← W → ↓ Space X , E ") << "cut to the box where it is drawn";
}

// The overlay's key boxes drawn with kick bound to a key of a long name:
// only the kick box changes, and its label is cut to the box rather than
// running into the next one.
TEST(BoundKeys, TheOverlaysKeyBoxesShowTheBoundKeysWithinTheirBoxes) {
    WatchSession s;
    std::string error;
    ASSERT_TRUE(OpenWatch(s, std::string(MERVOX_BINARY_DIR) + "/game/data/demo1.dat", RunDemo1, 600, error))
        << error;
    RenderResources res;
    LoadRenderResources(res, std::string(MERVOX_BINARY_DIR) + "/game");
    auto drawn = [&](const Controls& keys) {
        res.keys = keys;
        auto fb = std::make_unique<FrameBuffer>();
        DrawWatch(s, res, *fb);
        return std::vector<uint32_t>(fb->pixels, fb->pixels + kFrameWidth * kFrameHeight);
    };
    const std::vector<uint32_t> defaults = drawn(DefaultControls());
    Controls rebound = DefaultControls();
    rebound.names[static_cast<size_t>(ControlAction::Kick)] = {"Space"};
    const std::vector<uint32_t> spaced = drawn(rebound);
    const int kickLeft = kKeyBoxes.left + 4 * kKeyBoxes.pitch;  // after the four arrows
    int changed = 0;
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            if (defaults[y * kFrameWidth + x] == spaced[y * kFrameWidth + x]) continue;
            ++changed;
            EXPECT_TRUE(x >= kickLeft && x < kickLeft + kKeyBoxes.width && y >= kKeyBoxes.top &&
                        y < kKeyBoxes.bottom)
                << "changed outside the kick box at " << x << ", " << y;
        }
    EXPECT_GT(changed, 0) << "the kick box still says Z";
    ReleaseRenderResources(res);
}

TEST(BoundKeyName, NamesTheFirstKeyThenAPadButtonThenNothing) {
    Controls c;
    c.names[static_cast<size_t>(ControlAction::Pause)] = {"pad start", "P"};
    c.names[static_cast<size_t>(ControlAction::Jump)] = {"pad b"};
    c.names[static_cast<size_t>(ControlAction::MenuChange)] = {"Z", "Return"};
    EXPECT_EQ(BoundKeyName(c, ControlAction::Pause), "P");
    EXPECT_EQ(BoundKeyName(c, ControlAction::Jump), "pad b");
    EXPECT_EQ(BoundKeyName(c, ControlAction::Kick), "-");
    EXPECT_EQ(BoundKeyName(c, ControlAction::MenuChange), "Z");
    EXPECT_EQ(BoundKeyName(c, ControlAction::MenuChange, "Return"), "Enter");
    EXPECT_EQ(BoundKeyName(c, ControlAction::Pause, "Return"), "P") << "a preferred key that is not bound";
    // A word that names no action is left as written.
    EXPECT_EQ(Words{}(u"{no_such_action} and {", kEn), "{no_such_action} and {");
}

}  // namespace
}  // namespace mervox
