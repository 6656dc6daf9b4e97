// Where the game runs: a game folder as it is, or an installation with the
// player's files in their own folder linked to the installed data.
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
    const fs::path here = root / "here", share = root / "prefix" / "share" / "mervox", player = root / "xdg" / "mervox";
    fs::create_directories(here);
    fs::create_directories(share / "data");
    fs::create_directories(share / "snd");
    std::ofstream(share / "data" / "tuto.dat") << "installed";
    std::ofstream(share / "snd" / "push.wav") << "installed";

    EXPECT_EQ(InstalledDataDir((root / "prefix" / "bin" / "mervox").string()), share.string());
    EXPECT_EQ(PlayerDataDir("/x/y", "/home/p"), "/x/y/mervox");
    EXPECT_EQ(PlayerDataDir("relative", "/home/p"), "/home/p/.local/share/mervox");
    EXPECT_EQ(PlayerDataDir(nullptr, nullptr), "");

    // Installed: the player's folder links the data and keeps its own files.
    GameFolder f;
    std::string why;
    ASSERT_TRUE(ChooseGameFolder(here.string(), share.string(), player.string(), f, why)) << why;
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.dir, player.string());
    EXPECT_TRUE(fs::is_symlink(player / "data" / "tuto.dat"));
    EXPECT_TRUE(fs::is_symlink(player / "snd" / "push.wav"));
    std::ofstream(player / "data" / "scr.hsc") << "mine";
    std::ofstream(share / "data" / "demo1.dat") << "added by an update";
    ASSERT_TRUE(ChooseGameFolder(here.string(), share.string(), player.string(), f, why)) << why;
    EXPECT_TRUE(fs::is_symlink(player / "data" / "demo1.dat"));
    EXPECT_FALSE(fs::is_symlink(player / "data" / "scr.hsc"));
    EXPECT_FALSE(fs::exists(share / "data" / "scr.hsc"));
    // A recording named from the current folder is found in the player's.
    std::ofstream(player / "data" / "kept-round-7q.dat") << "mine";
    EXPECT_EQ(FindRecording("data/kept-round-7q.dat", f), (player / "data" / "kept-round-7q.dat").string());
    EXPECT_EQ(FindRecording("data/none-7q.dat", f), "data/none-7q.dat");
    EXPECT_EQ(FindRecording("/data/kept-round-7q.dat", f), "/data/kept-round-7q.dat");

    // A player's folder that cannot be made is an error, not a silent loss.
    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(ChooseGameFolder(here.string(), share.string(), (root / "file" / "mervox").string(), f, why));
    EXPECT_FALSE(why.empty());

    // A game folder here wins; with neither, here as always.
    fs::create_directories(here / "data");
    ASSERT_TRUE(ChooseGameFolder(here.string(), share.string(), player.string(), f, why));
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.dir, here.string());
    fs::remove(here / "data");
    ASSERT_TRUE(ChooseGameFolder(here.string(), (root / "nowhere").string(), player.string(), f, why));
    EXPECT_EQ(f.dir, here.string());
    fs::remove_all(root);
}

}  // namespace
}  // namespace mervox
