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
                                   good + "just words\n",                    // no '='
                                   good.substr(0, good.find("screenshot"))}) {  // one missing
        Controls untouched = c;
        EXPECT_FALSE(ParseControls(bad, untouched)) << bad;
        EXPECT_TRUE(Same(untouched, c));
    }
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
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mervox
