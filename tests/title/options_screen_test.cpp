// The options screen's keys and the language the words are shown in.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "title/options_screen.h"
#include "title/shown_language.h"

namespace mervox {
namespace {

struct Keys {
    // Options, up, down, left, right, change, back.
    bool down[kOptionsScreenKeyCount] = {};
    ActionFrame Frame() const {
        ActionFrame f;
        for (int k = 0; k < kOptionsScreenKeyCount; ++k)
            if (down[k]) f.hold(kOptionsScreenActions[k]);
        return f;
    }
};

TEST(OptionsScreen, OpensOnAnIdleTitleChangesEachOptionOncePerPressAndHoldsTheTitleUntilItsKeysAreUp) {
    OptionsScreen s;
    Options o;
    Keys k;
    auto update = [&](bool idle = true) { return UpdateOptionsScreen(s, o, idle, k.Frame()); };
    auto tap = [&](int key) {
        k.down[key] = true;
        const bool held = update();
        k.down[key] = false;
        return held && update();
    };

    // O during a fade or a chosen start does nothing; the title runs.
    k.down[0] = true;
    EXPECT_FALSE(update(false));
    EXPECT_FALSE(s.open);
    k.down[0] = false;
    EXPECT_FALSE(update());
    EXPECT_TRUE(tap(0));
    EXPECT_TRUE(s.open);

    // A held key changes once.
    k.down[4] = true;
    for (int n = 0; n < 5; ++n) update();
    k.down[4] = false;
    update();
    EXPECT_TRUE(o.colourMarks);
    EXPECT_TRUE(s.changed);
    // Down to the language: right goes desktop, ja, en; left back again.
    tap(2);
    tap(4);
    EXPECT_EQ(o.language, LanguageChoice::Japanese);
    tap(4);
    EXPECT_EQ(o.language, LanguageChoice::English);
    tap(4);
    EXPECT_EQ(o.language, LanguageChoice::Desktop);
    tap(3);
    EXPECT_EQ(o.language, LanguageChoice::English);
    // Up from the top wraps to sending games to the board; Z changes it,
    // and up again the drawing style.
    tap(1);
    tap(1);
    EXPECT_EQ(s.row, 3);
    tap(5);
    EXPECT_FALSE(o.boardSending);
    tap(1);
    EXPECT_EQ(s.row, 2);
    tap(5);
    EXPECT_EQ(o.drawing, DrawingStyle::Classic);
    EXPECT_FALSE(o.boardSending);

    // Escape closes; the title waits while it is held, then runs again.
    k.down[6] = true;
    EXPECT_TRUE(update());
    EXPECT_FALSE(s.open);
    EXPECT_TRUE(update());
    EXPECT_TRUE(update());
    k.down[6] = false;
    EXPECT_TRUE(update());
    EXPECT_FALSE(update());
    EXPECT_FALSE(s.open);
}

// A key pressed and let go within one pass is in that pass's frame as
// tapped only: it opens the screen, changes an option once, closes it.
TEST(OptionsScreen, TapsWithinOnePassCountOnce) {
    OptionsScreen s;
    Options o;
    auto tapped = [](ControlAction a) {
        ActionFrame f;
        f.tap(a);
        return f;
    };
    EXPECT_TRUE(UpdateOptionsScreen(s, o, true, tapped(ControlAction::Options)));
    EXPECT_TRUE(s.open);
    EXPECT_TRUE(UpdateOptionsScreen(s, o, true, tapped(ControlAction::MenuChange)));
    EXPECT_TRUE(o.colourMarks);
    EXPECT_TRUE(UpdateOptionsScreen(s, o, true, tapped(ControlAction::MenuChange)));
    EXPECT_FALSE(o.colourMarks) << "a second tap in the next pass is a second press";
    EXPECT_TRUE(UpdateOptionsScreen(s, o, true, tapped(ControlAction::MenuBack)));
    EXPECT_FALSE(s.open);
    EXPECT_TRUE(UpdateOptionsScreen(s, o, true, ActionFrame{}));
    EXPECT_FALSE(UpdateOptionsScreen(s, o, true, ActionFrame{})) << "the title runs again";
}

std::map<std::string, std::string> gEnv;
const char* FakeEnv(const char* name) {
    const auto it = gEnv.find(name);
    return it == gEnv.end() ? nullptr : it->second.c_str();
}

TEST(OptionsScreen, TheLanguageFollowsTheFileThenTheDesktopInTheWindowOnly) {
    gEnv = {};
    EXPECT_EQ(DesktopLanguage(FakeEnv), TextLanguage::English);
    gEnv = {{"LANG", "ja_JP.UTF-8"}};
    EXPECT_EQ(DesktopLanguage(FakeEnv), TextLanguage::Japanese);
    gEnv = {{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}};
    EXPECT_EQ(DesktopLanguage(FakeEnv), TextLanguage::English);
    gEnv = {{"LANG", "en_GB.UTF-8"}, {"LC_ALL", ""}, {"LANGUAGE", "ja:en"}};
    EXPECT_EQ(DesktopLanguage(FakeEnv), TextLanguage::Japanese);

    EXPECT_EQ(ShownLanguage(LanguageChoice::Desktop, false), TextLanguage::Japanese);
    EXPECT_EQ(ShownLanguage(LanguageChoice::English, false), TextLanguage::English);
    EXPECT_EQ(ShownLanguage(LanguageChoice::Japanese, true), TextLanguage::Japanese);
}

}  // namespace
}  // namespace mervox
