// controls.txt: read back as written, a missing or damaged file replaced by
// the defaults, a good one left as the player wrote it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "save/controls_file.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Same(const Controls& a, const Controls& b) {
    for (int i = 0; i < kControlActionCount; ++i)
        if (a.names[i] != b.names[i]) return false;
    return true;
}

TEST(ControlsFile, TheWrittenFileReadsBackAndDamageIsRefused) {
    Controls c = DefaultControls();
    c.names[static_cast<int>(ControlAction::Kick)] = {"Left Ctrl", "pad a"};
    c.names[static_cast<int>(ControlAction::Screenshot)] = {};
    Controls read;
    ASSERT_TRUE(ParseControls(FormatControls(c), read));
    EXPECT_TRUE(Same(read, c));

    // Spaces, CR LF line ends and comments are the player's business.
    std::string edited = FormatControls(DefaultControls());
    edited.replace(edited.find("kick = Z, pad a"), 15, "  kick=Space ,pad b\r");
    ASSERT_TRUE(ParseControls("# mine\r\n\r\n" + edited, read));
    EXPECT_EQ(read.names[static_cast<int>(ControlAction::Kick)], (std::vector<std::string>{"Space", "pad b"}));

    const std::string good = FormatControls(DefaultControls());
    for (const std::string& bad : {good + "kick = X\n",                      // given twice
                                   good + "dance = D\n",                     // no such action
                                   good + "just words\n"}) {                  // no '='

        Controls untouched = c;
        EXPECT_FALSE(ParseControls(bad, untouched)) << bad;
        EXPECT_TRUE(Same(untouched, c));
    }

    // A file written before the later actions existed is not damaged: they
    // get their defaults and the player's own lines still count.
    std::string old = edited.substr(0, edited.find("screenshot"));
    std::vector<ControlAction> missing;
    ASSERT_TRUE(ParseControls(old, read, &missing));
    EXPECT_EQ(read.names[static_cast<int>(ControlAction::Kick)], (std::vector<std::string>{"Space", "pad b"}));
    EXPECT_EQ(read.names[static_cast<int>(ControlAction::Screenshot)], (std::vector<std::string>{"F12"}));
    ASSERT_EQ(missing.size(), static_cast<size_t>(kControlActionCount - static_cast<int>(ControlAction::Screenshot)));
    EXPECT_EQ(missing.front(), ControlAction::Screenshot);
    EXPECT_EQ(missing.back(), kControlActions[kControlActionCount - 1]);
}

TEST(ControlsFile, AMissingOrDamagedFileGivesTheDefaultsWrittenBack) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-controls";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string defaults = FormatControls(DefaultControls());

    EXPECT_TRUE(Same(ReadControlsFile(dir.string()), DefaultControls()));
    EXPECT_EQ(Slurp(dir / "controls.txt"), defaults);

    std::ofstream(dir / "controls.txt", std::ios::binary) << "kick = Z\n\x01\xff garbage";
    EXPECT_TRUE(Same(ReadControlsFile(dir.string()), DefaultControls()));
    EXPECT_EQ(Slurp(dir / "controls.txt"), defaults);

    // A good file is used and left as it is, names it cannot know included.
    std::string mine = defaults;
    mine.replace(mine.find("jump = X"), 8, "jump = Nokey");
    std::ofstream(dir / "controls.txt", std::ios::binary) << mine;
    EXPECT_EQ(ReadControlsFile(dir.string()).names[static_cast<int>(ControlAction::Jump)],
              (std::vector<std::string>{"Nokey", "pad b"}));
    EXPECT_EQ(Slurp(dir / "controls.txt"), mine);

    // An older file keeps its lines, comments and all; the new actions'
    // lines are added at its end and then read back as written.
    const std::string older = "# my keys\n" + mine.substr(0, mine.find("screenshot"));
    std::ofstream(dir / "controls.txt", std::ios::binary) << older;
    const Controls updated = ReadControlsFile(dir.string());
    EXPECT_EQ(updated.names[static_cast<int>(ControlAction::Jump)], (std::vector<std::string>{"Nokey", "pad b"}));
    EXPECT_EQ(updated.names[static_cast<int>(ControlAction::WatchStepBack)], (std::vector<std::string>{"Comma"}));
    const std::string added = Slurp(dir / "controls.txt");
    EXPECT_EQ(added.substr(0, older.size()), older);
    EXPECT_NE(added.find("\nwatch_leave = Escape, pad back\n"), std::string::npos);
    EXPECT_TRUE(Same(ReadControlsFile(dir.string()), updated));
    EXPECT_EQ(Slurp(dir / "controls.txt"), added);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mervox
