// options.txt: every value reads back as written; a damaged line, a line
// that names no option and a missing file each leave the defaults where
// they apply, say so once, and keep the rest.
#include <gtest/gtest.h>

#include "save/options_file.h"
#include "save_test_dir.h"

namespace mervox {
namespace {

using mervox_test::TempGameDir;

TEST(OptionsFile, EveryValueReadsBackAndBadLinesLeaveOnlyTheirOption) {
    for (int marks = 0; marks < 2; ++marks) {
        for (LanguageChoice l : {LanguageChoice::Desktop, LanguageChoice::Japanese, LanguageChoice::English}) {
            for (DrawingStyle d : {DrawingStyle::Sharp, DrawingStyle::Classic}) {
                Options o;
                o.colourMarks = marks != 0;
                o.language = l;
                o.drawing = d;
                std::vector<std::string> complaints;
                EXPECT_EQ(ParseOptions(FormatOptions(o), &complaints), o);
                EXPECT_TRUE(complaints.empty()) << complaints[0];
            }
        }
    }

    // Spaces, CR LF and comments are the player's; a damaged value, a line
    // without "=" and an unknown name are each one complaint, and the
    // options they do not touch keep what the file says.
    std::vector<std::string> complaints;
    const Options o = ParseOptions(
        "# mine\r\n  colour_marks=on \r\nlanguage = klingon\nfullscreen = yes\njust words\n\ndrawing = classic\n",
        &complaints);
    EXPECT_TRUE(o.colourMarks);
    EXPECT_EQ(o.language, LanguageChoice::Desktop);
    EXPECT_EQ(o.drawing, DrawingStyle::Classic);
    ASSERT_EQ(complaints.size(), 3u);
    EXPECT_NE(complaints[0].find("line 3"), std::string::npos) << complaints[0];
    EXPECT_NE(complaints[1].find("fullscreen"), std::string::npos) << complaints[1];
    EXPECT_NE(complaints[2].find("line 5"), std::string::npos) << complaints[2];

    // A damaged line wins over a good one for the same option: its default.
    EXPECT_FALSE(ParseOptions("colour_marks = on\ncolour_marks = 1\n", nullptr).colourMarks);
}

TEST(OptionsFile, TheFileOnDiskIsReadWrittenAndNeverRewrittenOnReading) {
    TempGameDir dir(false);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReadOptionsFile(dir.dir()), Options{});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(dir.exists("options.txt"));

    Options o;
    o.language = LanguageChoice::Japanese;
    ASSERT_TRUE(WriteOptionsFile(dir.dir(), o));
    EXPECT_EQ(ReadOptionsFile(dir.dir()), o);

    const std::string damaged = "language = en\ncolour_marks = blue\n";
    dir.write("options.txt", damaged);
    ::testing::internal::CaptureStderr();
    const Options read = ReadOptionsFile(dir.dir());
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(read.language, LanguageChoice::English);
    EXPECT_FALSE(read.colourMarks);
    EXPECT_NE(err.find("options.txt line 2"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_EQ(dir.read("options.txt"), damaged);

    dir.write("options.txt", std::string(100 * 1024, '#'));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ReadOptionsFile(dir.dir()), Options{});
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("too large"), std::string::npos);
}

TEST(OptionsFile, TheBoardAndTheNameReadBackAndNothingIsSentByDefault) {
    const Options none;
    EXPECT_TRUE(none.board.empty());
    EXPECT_TRUE(none.player.empty());

    Options o;
    o.board = "http://127.0.0.1:8080";
    o.player = "Ann_2-b";
    o.boardSending = false;
    std::vector<std::string> complaints;
    EXPECT_EQ(ParseOptions(FormatOptions(o), &complaints), o);
    EXPECT_TRUE(complaints.empty());
    // "none" and an empty value are no board.
    EXPECT_TRUE(ParseOptions("board = none\n", nullptr).board.empty());
    EXPECT_TRUE(ParseOptions("board =\nplayer =\n", nullptr).player.empty());
    EXPECT_EQ(ParseOptions(FormatOptions(none), nullptr), none);

    // An address that is not one, a name with spaces, markup or too long:
    // each a complaint, that option at its default, the rest kept.
    complaints.clear();
    const Options bad = ParseOptions(
        "board = 127.0.0.1:8080\nplayer = ann smith\nboard_sending = off\n"
        "player = <b>\nplayer = " + std::string(17, 'a') + "\nplayer = ab\nboard = http:// x\n",
        &complaints);
    EXPECT_EQ(complaints.size(), 6u);
    EXPECT_TRUE(bad.board.empty());
    EXPECT_TRUE(bad.player.empty());
    EXPECT_FALSE(bad.boardSending);
    EXPECT_EQ(ParseOptions("player = " + std::string(16, 'a') + "\n", nullptr).player, std::string(16, 'a'));
    EXPECT_EQ(ParseOptions("player = abc\n", nullptr).player, "abc");
}

}  // namespace
}  // namespace mervox
