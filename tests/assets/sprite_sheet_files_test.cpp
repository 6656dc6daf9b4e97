// The generated sprite sheets, loaded through the game's own PNG loader:
// each is large enough, every rectangle the drawing code cuts holds a
// picture, nothing is drawn where no rectangle is cut, and the pictures that
// share pixels by design still end cleanly at the edges that are cut.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/sprite_sheet.h"
#include "tests/assets/game_files.h"

namespace {

using mervox::SpriteSheet;

struct Rect {
    const char* what;
    int x, y, w, h;
};

// Every rectangle cut from each sheet by the title and in-game drawing.
std::vector<Rect> NumberRects() {
    std::vector<Rect> r;
    for (int d = 0; d < 10; ++d) r.push_back({"large digit", 45 * d, 0, 45, 45});
    for (int d = 0; d < 10; ++d) r.push_back({"medium digit", 30 * d, 45, 30, 30});
    for (int d = 0; d < 10; ++d) r.push_back({"small digit", 20 * d, 75, 20, 20});
    r.push_back({"small x", 200, 75, 20, 20});
    r.push_back({"level label", 370, 60, 80, 15});
    r.push_back({"score label", 370, 75, 80, 15});
    r.push_back({"time label", 300, 45, 60, 15});
    r.push_back({"level-up label", 360, 45, 88, 15});
    r.push_back({"quota label", 300, 60, 60, 15});
    r.push_back({"push-arrow label", 350, 95, 75, 20});
    r.push_back({"kick key label", 350, 115, 100, 20});
    r.push_back({"keys label", 350, 135, 100, 20});
    r.push_back({"replay label", 220, 75, 120, 20});
    r.push_back({"demonstration label", 400, 0, 140, 20});
    r.push_back({"end-of-round banner", 0, 95, 350, 60});
    r.push_back({"ready banner", 0, 155, 300, 60});
    r.push_back({"go banner", 300, 155, 150, 60});
    return r;
}

std::vector<Rect> TitleRects() {
    return {
        {"logo", 0, 40, 540, 60},
        {"first menu line", 0, 0, 400, 20},
        {"replay menu line", 0, 20, 400, 20},
        {"bottom line, first piece", 400, 20, 40, 20},
        {"bottom line, second piece", 140, 20, 131, 20},
        {"bottom line, third piece", 450, 20, 60, 20},
        {"frame-rate caption", 0, 100, 110, 20},
        {"music caption", 110, 100, 110, 20},
        {"effects caption", 220, 100, 110, 20},
        {"on", 330, 100, 60, 20},
        {"off", 390, 100, 60, 20},
        {"in-game caption", 0, 0, 216, 20},
    };
}

std::vector<Rect> RankRects() {
    std::vector<Rect> r;
    for (int n = 0; n < 3; ++n) r.push_back({"place mark", 0, 30 * n, 90, 30});
    r.push_back({"new-record label", 90, 0, 180, 30});
    r.push_back({"score-table heading", 90, 30, 120, 20});
    for (int i = 0; i < 3; ++i) r.push_back({"rank label", 90 + 60 * i, 50, 60, 20});
    for (int d = 0; d < 10; ++d) r.push_back({"tiny digit", 90 + 11 * d, 71, 11, 11});
    r.push_back({"tiny full stop", 200, 71, 11, 11});
    r.push_back({"frames-per-second label", 211, 71, 25, 11});
    return r;
}

class SheetFile {
public:
    explicit SheetFile(const std::string& name) { mervox::LoadPngImage(mervox_test::GameFile("data/" + name), sheet_); }
    ~SheetFile() { mervox::FreeSpriteSheet(sheet_); }
    bool Loaded() const { return sheet_.pixels != nullptr; }
    int Width() const { return mervox::SheetWidth(sheet_); }
    int Height() const { return mervox::SheetHeight(sheet_); }
    uint32_t Alpha(int x, int y) const { return sheet_.pixels[y * Width() + x] >> 24; }
    uint32_t Pixel(int x, int y) const { return sheet_.pixels[y * Width() + x]; }

    // Pixels of the rectangle that are at least half opaque.
    int Ink(int x0, int y0, int w, int h) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += Alpha(x, y) >= 128;
        return n;
    }
    bool ColumnClear(int x, int y0, int h) const {
        for (int y = y0; y < y0 + h; ++y)
            if (Alpha(x, y) != 0) return false;
        return true;
    }

private:
    SpriteSheet sheet_;
};

void CheckSheet(const char* file, int minW, int minH, const std::vector<Rect>& rects) {
    SCOPED_TRACE(file);
    SheetFile sheet(file);
    ASSERT_TRUE(sheet.Loaded()) << mervox_test::GameFile(std::string("data/") + file)
                                << " is missing or unreadable (build the assets target)";
    ASSERT_GE(sheet.Width(), minW);
    ASSERT_GE(sheet.Height(), minH);

    std::vector<uint8_t> covered(size_t(sheet.Width()) * sheet.Height(), 0);
    for (const Rect& r : rects) {
        ASSERT_LE(r.x + r.w, sheet.Width()) << r.what;
        ASSERT_LE(r.y + r.h, sheet.Height()) << r.what;
        // Enough ink to be seen: a few dozen solid pixels even for the
        // tiniest glyph.
        EXPECT_GE(sheet.Ink(r.x, r.y, r.w, r.h), 12) << r.what << " at (" << r.x << ", " << r.y << ") is empty";
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) covered[size_t(y) * sheet.Width() + x] = 1;
    }
    int stray = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x)
            if (!covered[size_t(y) * sheet.Width() + x] && sheet.Alpha(x, y) != 0) {
                if (stray++ == 0) firstX = x, firstY = y;
            }
    EXPECT_EQ(stray, 0) << "drawn outside every rectangle, first at (" << firstX << ", " << firstY << ")";
}

TEST(SpriteSheetFiles, EveryCutRectangleHoldsAPictureAndNothingIsDrawnElsewhere) {
    CheckSheet("number.png", 540, 215, NumberRects());
    CheckSheet("title.png", 540, 120, TitleRects());
    CheckSheet("rank.png", 270, 90, RankRects());
}

TEST(SpriteSheetFiles, PicturesEndInsideTheirRectangles) {
    // A picture touching the left or right edge of its rectangle has been cut
    // off (or runs into its neighbour). Rectangles that share pixels with a
    // neighbour by design are checked only at the edges they own.
    struct Sheet {
        const char* file;
        std::vector<Rect> rects;
    };
    for (const Sheet& s : {Sheet{"number.png", NumberRects()}, Sheet{"title.png", TitleRects()},
                           Sheet{"rank.png", RankRects()}}) {
        SCOPED_TRACE(s.file);
        SheetFile sheet(s.file);
        ASSERT_TRUE(sheet.Loaded());
        for (const Rect& r : s.rects) {
            const std::string what = r.what;
            const bool leftShared = what == "demonstration label";
            if (!leftShared) {
                EXPECT_TRUE(sheet.ColumnClear(r.x, r.y, r.h)) << r.what << " at (" << r.x << ", " << r.y << ") left edge";
            }
            EXPECT_TRUE(sheet.ColumnClear(r.x + r.w - 1, r.y, r.h))
                << r.what << " at (" << r.x << ", " << r.y << ") right edge";
        }
    }
}

TEST(SpriteSheetFiles, GlyphsOfAStripAreAllDifferent) {
    struct Strip {
        const char* file;
        int x0, y0, cell, h;
    };
    for (const Strip& s : {Strip{"number.png", 0, 0, 45, 45}, Strip{"number.png", 0, 45, 30, 30},
                           Strip{"number.png", 0, 75, 20, 20}, Strip{"rank.png", 90, 71, 11, 11}}) {
        SheetFile sheet(s.file);
        ASSERT_TRUE(sheet.Loaded());
        for (int a = 0; a < 11; ++a)
            for (int b = a + 1; b < 11; ++b) {
                int differ = 0;
                for (int y = s.y0; y < s.y0 + s.h; ++y)
                    for (int x = 0; x < s.cell; ++x)
                        differ += sheet.Pixel(s.x0 + a * s.cell + x, y) != sheet.Pixel(s.x0 + b * s.cell + x, y);
                EXPECT_GT(differ, 5) << s.file << " strip at y " << s.y0 << ": glyphs " << a << " and " << b
                                     << " look the same";
            }
    }
}

TEST(SpriteSheetFiles, OverlappingPicturesReadOnTheirOwn) {
    SheetFile title("title.png");
    ASSERT_TRUE(title.Loaded());
    // The caption shown in replays is the left 216 columns of the first menu
    // line: no letter may straddle column 215/216.
    EXPECT_TRUE(title.ColumnClear(215, 0, 20));
    EXPECT_TRUE(title.ColumnClear(216, 0, 20));
    // The middle of the bottom line is columns 140-270 of the replay line:
    // nothing of the replay line's other words may reach into it.
    EXPECT_TRUE(title.ColumnClear(140, 20, 20));
    EXPECT_TRUE(title.ColumnClear(270, 20, 20));
    EXPECT_GT(title.Ink(140, 20, 131, 20), 100);

    SheetFile number("number.png");
    ASSERT_TRUE(number.Loaded());
    // The demonstration label's own lettering lies beyond the large strip,
    // whose 8 and 9 share its left columns.
    EXPECT_GT(number.Ink(450, 0, 90, 20), 100);
}

TEST(SpriteSheetFiles, WindowIconIs32By32WithATransparentCorner) {
    SheetFile icon("icon.png");
    ASSERT_TRUE(icon.Loaded());
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_EQ(icon.Alpha(0, 0), 0u);
    EXPECT_GT(icon.Ink(0, 0, 32, 32), 300);
}

}  // namespace
