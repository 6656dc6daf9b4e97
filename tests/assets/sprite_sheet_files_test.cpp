// The generated sprite sheets, loaded through the game's own PNG loader:
// each is large enough, every rectangle the drawing code cuts holds a
// picture, nothing is drawn where no rectangle is cut, and the pictures that
// share pixels by design still end cleanly at the edges that are cut.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/sheet_layout.h"
#include "render/sprite_sheet.h"
#include "tests/assets/game_files.h"

namespace {

using mervox::SpriteSheet;

struct Rect {
    const char* what;
    int x, y, w, h;
};

void AddStrip(std::vector<Rect>& r, const mervox::DigitStrip& s, const char* digit, const char* extra) {
    for (int d = 0; d < 10; ++d) r.push_back({digit, s.x0 + s.cellWidth * d, s.y, s.cellWidth, s.cellHeight});
    if (s.extraChar != 0) r.push_back({extra, s.extraX, s.y, s.cellWidth, s.cellHeight});
}

// Every rectangle cut from a sheet by the title and in-game drawing.
std::vector<Rect> RectsOn(mervox::SheetId sheet) {
    std::vector<Rect> r;
    if (sheet == mervox::SheetId::Number) {
        AddStrip(r, mervox::kLargeDigits, "large digit", "");
        AddStrip(r, mervox::kMediumDigits, "medium digit", "");
        AddStrip(r, mervox::kSmallDigits, "small digit", "small x");
    }
    if (sheet == mervox::SheetId::Rank) AddStrip(r, mervox::kTinyDigits, "tiny digit", "tiny full stop");
    for (const mervox::SheetRect& s : mervox::sheet::kAll)
        if (s.sheet == sheet) r.push_back({s.what, s.x, s.y, s.w, s.h});
    return r;
}

std::vector<Rect> NumberRects() { return RectsOn(mervox::SheetId::Number); }
std::vector<Rect> TitleRects() { return RectsOn(mervox::SheetId::Title); }
std::vector<Rect> RankRects() { return RectsOn(mervox::SheetId::Rank); }

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
    using namespace mervox;
    CheckSheet("number.png", kNumberSheetSize.w, kNumberSheetSize.h, NumberRects());
    CheckSheet("title.png", kTitleSheetSize.w, kTitleSheetSize.h, TitleRects());
    CheckSheet("rank.png", kRankSheetSize.w, kRankSheetSize.h, RankRects());
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
    auto strip = [](const char* file, const mervox::DigitStrip& s) {
        return Strip{file, s.x0, s.y, s.cellWidth, s.cellHeight};
    };
    for (const Strip& s : {strip("number.png", mervox::kLargeDigits), strip("number.png", mervox::kMediumDigits),
                           strip("number.png", mervox::kSmallDigits), strip("rank.png", mervox::kTinyDigits)}) {
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

TEST(SpriteSheetFiles, IconsAtEverySizeAreSquareWithTransparentCorners) {
    for (const std::string name : {"icon.png", "../icons/hicolor/16x16/apps/mervox.png",
                                    "../icons/hicolor/24x24/apps/mervox.png", "../icons/hicolor/32x32/apps/mervox.png",
                                    "../icons/hicolor/48x48/apps/mervox.png", "../icons/hicolor/64x64/apps/mervox.png",
                                    "../icons/hicolor/128x128/apps/mervox.png", "../icons/hicolor/256x256/apps/mervox.png"}) {
        SCOPED_TRACE(name);
        SheetFile icon(name);
        ASSERT_TRUE(icon.Loaded());
        const int size = icon.Width();
        EXPECT_EQ(icon.Height(), size);
        EXPECT_EQ(icon.Alpha(0, 0), 0u);
        // Drawn to fill its square, not a small picture in a large one.
        EXPECT_GT(icon.Ink(0, 0, size, size), size * size / 4);
    }
}

}  // namespace
