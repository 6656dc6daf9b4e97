// Where the game runs: a game folder as it is, the program's own folder, or
// an installation with the player's files in their own folder linked to the
// installed data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/common/game_folder.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

TEST(GameFolder, AGameFolderIsUsedAsItIsAndAnInstallationGetsAPlayerFolder) {
    const fs::path root = fs::path(::testing::TempDir()) / "mervox-folders";
    fs::remove_all(root);
    const fs::path here = root / "here", share = root / "prefix" / "share" / "games" / "mervox",
                   player = root / "xdg" / "mervox", program = root / "build" / "game";
    fs::create_directories(here / "data");
    fs::create_directories(share / "data");
    fs::create_directories(share / "snd");
    fs::create_directories(program / "data");
    std::ofstream(here / "data" / "tuto.dat") << "a source tree's recording";
    std::ofstream(share / "data" / "title.png") << "installed";
    std::ofstream(share / "data" / "tuto.dat") << "installed";
    std::ofstream(share / "snd" / "push.wav") << "installed";

    EXPECT_EQ(InstalledDataDir((root / "prefix" / "games" / "mervox").string(), "../share/games/mervox"),
              share.string());
    EXPECT_EQ(PlayerDataDir("/x/y", "/home/p"), "/x/y/mervox");
    EXPECT_EQ(PlayerDataDir("relative", "/home/p"), "/home/p/.local/share/mervox");
    EXPECT_EQ(PlayerDataDir(nullptr, nullptr), "");

    // Installed: the player's folder links the data and keeps its own files.
    FolderSearch where{here.string(), program.string(), share.string(), player.string()};
    GameFolder f;
    std::string why;
    ASSERT_TRUE(ChooseGameFolder(where, f, why)) << why;
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.dir, player.string());
    EXPECT_TRUE(fs::is_symlink(player / "data" / "tuto.dat"));
    EXPECT_TRUE(fs::is_symlink(player / "snd" / "push.wav"));
    std::ofstream(player / "data" / "scr.hsc") << "mine";
    std::ofstream(share / "data" / "demo1.dat") << "added by an update";
    // Links left by an installation elsewhere: one to a file now gone, one
    // to another copy of an installed file.
    std::ofstream(root / "old-title.png") << "old";
    fs::remove(player / "data" / "title.png");
    fs::create_symlink(root / "old-title.png", player / "data" / "title.png");
    fs::create_symlink(root / "gone.png", player / "data" / "icon.png");
    ASSERT_TRUE(ChooseGameFolder(where, f, why)) << why;
    EXPECT_TRUE(fs::is_symlink(player / "data" / "demo1.dat"));
    EXPECT_EQ(fs::read_symlink(player / "data" / "title.png"), share / "data" / "title.png");
    EXPECT_FALSE(fs::exists(fs::symlink_status(player / "data" / "icon.png")));
    EXPECT_FALSE(fs::is_symlink(player / "data" / "scr.hsc"));
    EXPECT_FALSE(fs::exists(share / "data" / "scr.hsc"));
    // A recording named from the current folder is found in the player's.
    std::ofstream(player / "data" / "kept-round-7q.dat") << "mine";
    EXPECT_EQ(FindRecording("data/kept-round-7q.dat", f), (player / "data" / "kept-round-7q.dat").string());
    EXPECT_EQ(FindRecording("data/none-7q.dat", f), "data/none-7q.dat");
    EXPECT_EQ(FindRecording("/data/kept-round-7q.dat", f), "/data/kept-round-7q.dat");

    // A player's folder that cannot be made is an error, not a silent loss.
    std::ofstream(root / "file") << "x";
    FolderSearch unmakeable = where;
    unmakeable.playerDir = (root / "file" / "mervox").string();
    EXPECT_FALSE(ChooseGameFolder(unmakeable, f, why));
    EXPECT_FALSE(why.empty());

    // The program's own folder comes before the installation, a game
    // folder here before both.
    std::ofstream(program / "data" / "rank.png") << "built";
    ASSERT_TRUE(ChooseGameFolder(where, f, why));
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.dir, program.string());
    std::ofstream(here / "data" / "number.png") << "damaged";
    ASSERT_TRUE(ChooseGameFolder(where, f, why));
    EXPECT_EQ(f.dir, here.string());

    // With none, the reason names every folder looked in.
    fs::remove(here / "data" / "number.png");
    fs::remove(program / "data" / "rank.png");
    where.installedDataDir = (root / "nowhere").string();
    EXPECT_FALSE(ChooseGameFolder(where, f, why));
    for (const fs::path& p : {here, program, root / "nowhere"})
        EXPECT_NE(why.find(p.string()), std::string::npos) << why;
    fs::remove_all(root);
}

}  // namespace
}  // namespace mervox
