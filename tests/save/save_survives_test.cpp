// Saved files survive whatever happens while they are written: a kill at any
// moment leaves the complete old file or the complete new one, and a folder
// that cannot take them (read-only, missing, full) leaves the game with its
// values in memory and a single message per file and reason.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "save/config_file.h"
#include "save/input_log_file.h"
#include "save/options_file.h"
#include "save/saved_data.h"
#include "save/score_file.h"
#include "save_test_dir.h"

namespace mervox {
namespace {

using mervox_test::TempGameDir;

// One of two sets of values the game alternates between saving.
std::unique_ptr<GameState> Values(int which) {
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    const uint32_t scores[2][3] = {{20000, 8000, 3000}, {1234567, 654321, 7}};
    for (int k = 0; k < 3; ++k) g->HighScores[k] = scores[which][k];
    g->FrameSkip = which ? 2 : 1;
    g->BGMMODE = which;
    g->SEMODE = which;
    const int records = which ? 3000 : 3;  // a long log is many writes' worth
    for (int k = 0; k < records; ++k) g->InputLog[k] = InputRecord{10 * k + 1, static_cast<uint16_t>((k * 7) & 255)};
    return g;
}

// The options saved beside the values of set 0.
Options KeptOptions() {
    Options o;
    o.colourMarks = true;
    o.language = LanguageChoice::English;
    return o;
}

void SaveAll(const GameState& g, const std::string& dir) {
    SaveScoresAndConfig(g, dir);
    SaveReplay(g, dir);
    WriteOptionsFile(dir, KeptOptions());
}

struct Expected {
    std::string scores, config, replay;
};

Expected Bytes(const GameState& g) {
    return {FormatHighScores(g.HighScores), FormatConfig(g.FrameSkip, g.BGMMODE, g.SEMODE),
            FormatInputLog(g.InputLog)};
}

TEST(SavedFiles, AKillAtAnyMomentLeavesTheOldOrTheNewFile) {
    TempGameDir dir;
    const auto a = Values(0), b = Values(1);
    const Expected ea = Bytes(*a), eb = Bytes(*b);
    SaveAll(*a, dir.dir());
    std::mt19937 random(20240611);
    int sawNew = 0;
    for (int round = 0; round < 300; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int k = 0;; ++k) SaveAll(k % 2 ? *a : *b, dir.dir());
        }
        usleep(std::uniform_int_distribution<int>(0, 4000)(random));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const struct {
            const char* name;
            const std::string& old;
            const std::string& now;
        } files[] = {{"data/scr.hsc", ea.scores, eb.scores},
                     {"config.txt", ea.config, eb.config},
                     {"data/replay.dat", ea.replay, eb.replay}};
        for (const auto& f : files) {
            const std::string got = dir.read(f.name);
            ASSERT_TRUE(got == f.old || got == f.now)
                << f.name << " after the kill in round " << round << " is " << got.size() << " bytes";
            sawNew += got == f.now;
        }
    }
    EXPECT_GT(sawNew, 0) << "the kills all came before the first save";
}

// The stderr lines of a run of saves.
int LinesNaming(const std::string& err, const std::string& name) {
    int n = 0;
    for (size_t at = err.find(name); at != std::string::npos; at = err.find(name, at + 1)) ++n;
    return n;
}

// Saving twice into a folder that cannot take the files: the values stay,
// the old files stay, each file is named once. `wholeFolder`: the game
// folder itself takes nothing either (options.txt lies there).
void ExpectUnsavedButKept(const std::string& dir, const std::string& why, bool wholeFolder) {
    auto g = Values(1);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveScoresAndConfig(*g, dir)) << why;
    EXPECT_FALSE(SaveReplay(*g, dir)) << why;
    EXPECT_FALSE(SaveScoresAndConfig(*g, dir)) << why;
    EXPECT_FALSE(SaveReplay(*g, dir)) << why;
    if (wholeFolder) {
        EXPECT_FALSE(WriteOptionsFile(dir, Options{})) << why;
        EXPECT_FALSE(WriteOptionsFile(dir, Options{})) << why;
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(g->HighScores[0], 1234567u) << why;
    EXPECT_EQ(LinesNaming(err, "data/scr.hsc"), 1) << why << ":\n" << err;
    EXPECT_EQ(LinesNaming(err, "data/replay.dat"), 1) << why << ":\n" << err;
    if (wholeFolder) {
        EXPECT_EQ(LinesNaming(err, "options.txt"), 1) << why << ":\n" << err;
    }
    EXPECT_NE(err.find(why), std::string::npos) << err;
}

// A small tmpfs of our own at `path`; false where mounting is not allowed.
// Unmounted when the guard goes, before its folder is removed.
struct SmallDisk {
    std::string path;
    bool mounted = false;
    SmallDisk(const std::string& at, const char* options) : path(at) {
        mounted = ::mount("tmpfs", path.c_str(), "tmpfs", 0, options) == 0;
    }
    ~SmallDisk() {
        if (mounted) ::umount2(path.c_str(), MNT_DETACH);
    }
};

TEST(SavedFiles, AFolderThatCannotTakeThemKeepsTheGameGoing) {
    {
        TempGameDir missing(false);
        ExpectUnsavedButKept(missing.dir(), "No such file or directory", false);
    }
    {
        TempGameDir ro(false);
        SmallDisk disk(ro.dir(), "size=1m");
        const bool mounted = disk.mounted;
        if (mounted) {
            std::filesystem::create_directories(ro.path / "data");
            SaveAll(*Values(0), ro.dir());
            ASSERT_EQ(::mount(nullptr, ro.dir().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
            ExpectUnsavedButKept(ro.dir(), "Read-only file system", true);
        } else if (geteuid() != 0) {
            std::filesystem::create_directories(ro.path / "data");
            SaveAll(*Values(0), ro.dir());
            chmod((ro.path / "data").c_str(), 0555);
            chmod(ro.path.c_str(), 0555);
            ExpectUnsavedButKept(ro.dir(), "Permission denied", true);
            chmod(ro.path.c_str(), 0755);
            chmod((ro.path / "data").c_str(), 0755);
        }
        if (mounted || geteuid() != 0) {
            EXPECT_EQ(ro.read("data/scr.hsc"), Bytes(*Values(0)).scores);
            EXPECT_EQ(ro.read("data/replay.dat"), Bytes(*Values(0)).replay);
            EXPECT_EQ(ReadOptionsFile(ro.dir()), KeptOptions());
        }
    }
}

TEST(SavedFiles, AFullDiskKeepsTheOldFiles) {
    TempGameDir full(false);
    SmallDisk disk(full.dir(), "size=64k");
    if (!disk.mounted) {
        GTEST_SKIP() << "no small tmpfs can be mounted here (needs root): the full disk is not tried";
    }
    std::filesystem::create_directories(full.path / "data");
    SaveAll(*Values(0), full.dir());
    {
        // Fill the disk to the last byte.
        std::FILE* filler = std::fopen((full.path / "filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        std::string block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }
    ExpectUnsavedButKept(full.dir(), "No space left on device", true);
    EXPECT_EQ(full.read("data/scr.hsc"), Bytes(*Values(0)).scores);
    EXPECT_EQ(full.read("config.txt"), Bytes(*Values(0)).config);
    EXPECT_EQ(full.read("data/replay.dat"), Bytes(*Values(0)).replay);
    EXPECT_FALSE(full.exists("data/replay.dat.tmp"));
}

}  // namespace
}  // namespace mervox
