// The generator's command line: a missing folder argument, a folder that
// cannot be made and a font that cannot be read each end the run at once
// with a failure status and a message, writing nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace {

const std::string kGenerator = std::string(MERVOX_BINARY_DIR) + "/tools/assets/mervox_assets";

struct Outcome {
    int status = -1;
    std::string output;
};

Outcome Generate(const std::string& args) {
    Outcome r;
    FILE* p = popen((kGenerator + " " + args + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int w = pclose(p);
    r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
    return r;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string ScratchDir(const char* name) {
    const std::string dir = std::string(MERVOX_BINARY_DIR) + "/test_assets_" + name;
    std::system(("rm -rf '" + dir + "'").c_str());
    return dir;
}

TEST(GeneratorCommand, WithoutAFolderItShowsHowToUseIt) {
    ASSERT_TRUE(Exists(kGenerator)) << kGenerator;
    const Outcome r = Generate("");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage"), std::string::npos) << r.output;
}

TEST(GeneratorCommand, AFolderThatCannotBeMadeFailsAtOnce) {
    const std::string dir = ScratchDir("blocked");
    // A plain file where the game folder should go.
    FILE* f = std::fopen(dir.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const Outcome r = Generate("'" + dir + "/game'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot create"), std::string::npos) << r.output;
    std::remove(dir.c_str());
}

TEST(GeneratorCommand, AnUnreadableFontWritesNothing) {
    const std::string dir = ScratchDir("nofont");
    const Outcome r = Generate("'" + dir + "' --font '" + dir + "-missing.ttf'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("font"), std::string::npos) << r.output;
    EXPECT_FALSE(Exists(dir + "/snd/bgm1-1.ogg"));
    EXPECT_FALSE(Exists(dir + "/data/number.png"));
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(GeneratorCommand, AnUnknownOptionIsRefused) {
    const std::string dir = ScratchDir("option");
    const Outcome r = Generate("'" + dir + "' --colour red");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("--colour"), std::string::npos) << r.output;
    EXPECT_FALSE(Exists(dir));
}

}  // namespace
