// controls.txt: read back as written, a missing file written with the
// defaults, a bad line costing only itself, the player's file only added to.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(ControlsFile, TheWrittenFileReadsBackAndBadLinesCostOnlyThemselves) {
    Controls c = DefaultControls();
    c.names[static_cast<int>(ControlAction::Kick)] = {"Left Ctrl", "pad a"};
    c.names[static_cast<int>(ControlAction::Screenshot)] = {};
    ControlsRead read = ParseControls(FormatControls(c));
    EXPECT_TRUE(Same(read.controls, c));
    EXPECT_TRUE(read.complaints.empty());
    EXPECT_TRUE(read.missing.empty());

    // Spaces, CR LF line ends and comments are the player's business.
    std::string edited = FormatControls(DefaultControls());
    edited.replace(edited.find("kick = Z, pad a"), 15, "  kick=Space ,pad b\r");
    read = ParseControls("# mine\r\n\r\n" + edited);
    EXPECT_EQ(read.controls.names[static_cast<int>(ControlAction::Kick)], (std::vector<std::string>{"Space", "pad b"}));
    EXPECT_TRUE(read.complaints.empty());

    // A line given twice, one naming no action and one without '=' are
    // each named once by their line and ignored; every other line counts,
    // the first of the twice-given ones included.
    std::string mine = FormatControls(DefaultControls());
    mine.replace(mine.find("up = Up"), 7, "up = W");
    const int lines = static_cast<int>(std::count(mine.begin(), mine.end(), '\n'));
    read = ParseControls(mine + "up = X\ndance = D\njust words\n");
    EXPECT_EQ(read.controls.names[static_cast<int>(ControlAction::Up)], (std::vector<std::string>{"W", "pad dpup"}));
    EXPECT_TRUE(read.missing.empty());
    ASSERT_EQ(read.complaints.size(), 3u);
    EXPECT_EQ(read.complaints[0].rfind("line " + std::to_string(lines + 1) + ":", 0), 0u) << read.complaints[0];
    EXPECT_NE(read.complaints[0].find("up"), std::string::npos) << read.complaints[0];
    EXPECT_NE(read.complaints[1].find("\"dance\""), std::string::npos) << read.complaints[1];
    EXPECT_EQ(read.complaints[2].rfind("line " + std::to_string(lines + 3) + ":", 0), 0u) << read.complaints[2];

    // A file written before the later actions existed: they get their
    // defaults and the player's own lines still count.
    std::string old = edited.substr(0, edited.find("screenshot"));
    read = ParseControls(old);
    EXPECT_EQ(read.controls.names[static_cast<int>(ControlAction::Kick)], (std::vector<std::string>{"Space", "pad b"}));
    EXPECT_EQ(read.controls.names[static_cast<int>(ControlAction::Screenshot)], (std::vector<std::string>{"F12"}));
    ASSERT_EQ(read.missing.size(),
              static_cast<size_t>(kControlActionCount - static_cast<int>(ControlAction::Screenshot)));
    EXPECT_EQ(read.missing.front(), ControlAction::Screenshot);
    EXPECT_EQ(read.missing.back(), kControlActions[kControlActionCount - 1]);
}

TEST(ControlsFile, APlayersFileIsNeverRewrittenOnlyAddedTo) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-controls";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string defaults = FormatControls(DefaultControls());

    // No file: the defaults, written for the player to edit.
    EXPECT_TRUE(Same(ReadControlsFile(dir.string()), DefaultControls()));
    EXPECT_EQ(Slurp(dir / "controls.txt"), defaults);

    // The player's W for up survives a line of nonsense, which is said
    // once; the file is left as it is.
    std::string mine = defaults;
    mine.replace(mine.find("up = Up"), 7, "up = W");
    mine += "what is this\n";
    std::ofstream(dir / "controls.txt", std::ios::binary) << mine;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReadControlsFile(dir.string()).names[static_cast<int>(ControlAction::Up)],
              (std::vector<std::string>{"W", "pad dpup"}));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("controls.txt line"), std::string::npos) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(Slurp(dir / "controls.txt"), mine);

    // Damaged bytes cost only their line: kick keeps the player's Z only,
    // the actions the file lacks get their default lines added after the
    // player's, and nothing of the player's goes.
    const std::string damaged = "# keys\nkick = Z\n\x01\xff garbage\n";
    std::ofstream(dir / "controls.txt", std::ios::binary) << damaged;
    ::testing::internal::CaptureStderr();
    const Controls fromDamaged = ReadControlsFile(dir.string());
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(fromDamaged.names[static_cast<int>(ControlAction::Kick)], (std::vector<std::string>{"Z"}));
    EXPECT_EQ(fromDamaged.names[static_cast<int>(ControlAction::Jump)], (std::vector<std::string>{"X", "pad b"}));
    const std::string grown = Slurp(dir / "controls.txt");
    EXPECT_EQ(grown.substr(0, damaged.size()), damaged);
    EXPECT_NE(grown.find("\njump = X, pad b\n"), std::string::npos);
    EXPECT_EQ(grown.find("\nkick = Z, pad a\n"), std::string::npos);

    // A file far too large to be one is not read and not touched.
    const std::string huge(100 * 1024, 'x');
    std::ofstream(dir / "controls.txt", std::ios::binary) << huge;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(Same(ReadControlsFile(dir.string()), DefaultControls()));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("too large"), std::string::npos);
    EXPECT_EQ(Slurp(dir / "controls.txt"), huge);

    // A good file is used and left as it is, names it cannot know included.
    mine = defaults;
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
