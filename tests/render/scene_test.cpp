// The scene and overlay drawn from the state, checked at the pixels each
// rule decides. The sheets are "where from" sheets: every copied pixel
// tells which sheet and source pixel it came from.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "draw/draw_objects.h"
#include "draw/gdi_calls.h"
#include "draw/text_drawing.h"
#include "render/digit_strings.h"
#include "game/simulation.h"
#include "game/tutorial_captions.h"
#include "render/scene_drawing.h"
#include "render/scene_painter.h"
#include "render/screen_layout.h"
#include "round_scene.h"
#include "test_images.h"

namespace mervox {
namespace {

using testing::SourceCode;

constexpr int kTitleBase = 1000;
constexpr int kRankBase = 2000;

struct Hooks : FrameHooks {
    mutable int pumps = 0, presents = 0, lastWait = -1;
    void pumpMessagesFor(int ms) const override {
        ++pumps;
        lastWait = ms;
    }
    void presentFrame() const override { ++presents; }
};

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::StartEmptyRoundScene(*g);
        g->TimeLeft = 3000;
        g->ShownTime = 3000;
        CreatePalette(res.palette);
        res.NumberSheet = testing::MakeSourceSheet(640, 240, 0);
        res.TitleSheet = testing::MakeSourceSheet(640, 100, kTitleBase);
        res.RankSheet = testing::MakeSourceSheet(640, 100, kRankBase);
    }
    void TearDown() override { ReleaseRenderResources(res); }

    void Draw() { DrawScene(*g, res, *fb, hooks); }
    uint32_t at(int x, int y) const { return fb->pixels[y * kFrameWidth + x]; }
    int sprites() const {
        int n = 0;
        for (uint32_t p : fb->pixels) n += (p >> 24) == 0xFF;
        return n;
    }
    // True when the glyph of `digit` from `strip` sits with its corner at (x, y).
    bool GlyphAt(int x, int y, const DigitStrip& strip, char c, int base = 0) const {
        return at(x, y) == SourceCode(GlyphSourceX(strip, c), strip.y + base) &&
               at(x + strip.cellWidth - 1, y + strip.cellHeight - 1) ==
                   SourceCode(GlyphSourceX(strip, c) + strip.cellWidth - 1, strip.y + strip.cellHeight - 1 + base);
    }
    bool TextAt(int x0, int y, const DigitStrip& strip, const char* text, int advance, int base = 0) const {
        for (int i = 0; text[i] != 0; ++i) {
            if (!GlyphAt(x0 + advance * i, y, strip, text[i], base)) return false;
        }
        return true;
    }
    bool TextAt(const DigitRow& row, const DigitStrip& strip, const char* text, int base = 0) const {
        return TextAt(row.x, row.y, strip, text, strip.advance, base);
    }
    static int BaseOf(SheetId sheet) {
        return sheet == SheetId::Number ? 0 : sheet == SheetId::Title ? kTitleBase : kRankBase;
    }
    // The sprite's first and last pixels where the layout puts them, each
    // copied from its rectangle's corner.
    bool Shows(const ScreenSprite& s) const {
        const SheetRect& r = s.rect;
        const int base = BaseOf(r.sheet);
        return at(s.x, s.y) == SourceCode(r.x, r.y + base) &&
               at(s.x + r.w - 1, s.y + r.h - 1) == SourceCode(r.x + r.w - 1, r.y + r.h - 1 + base);
    }
    // Either of those pixels from the sprite.
    bool Touches(const ScreenSprite& s) const {
        const SheetRect& r = s.rect;
        const int base = BaseOf(r.sheet);
        return at(s.x, s.y) == SourceCode(r.x, r.y + base) ||
               at(s.x + r.w - 1, s.y + r.h - 1) == SourceCode(r.x + r.w - 1, r.y + r.h - 1 + base);
    }

    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    std::unique_ptr<FrameBuffer> fb = std::make_unique<FrameBuffer>();
    RenderResources res;
    Hooks hooks;
};

void PlaceBlock(GameState& g, int i, int j, int layer, int colour, BlockState state = Solid) {
    BlockSlot& s = g.Board[i][j][layer];
    s.state = state;
    s.colour = colour;
    s.height = 100.0f * layer;
    s.offsetX = s.offsetZ = 0;
    s.arriveTimer = 0;
    s.chainSlot = -1;
}

TEST_F(SceneTest, TitleModeDrawsTheSceneWithoutOverlayAndDoesNotPresent) {
    g->RunMode = RunTitle;
    Draw();
    EXPECT_EQ(hooks.pumps, 1);
    EXPECT_EQ(hooks.lastWait, 0);
    EXPECT_EQ(hooks.presents, 0);
    EXPECT_EQ(sprites(), 0);
    g->RunMode = RunGame;
    Draw();
    EXPECT_EQ(hooks.pumps, 2);
    EXPECT_EQ(hooks.presents, 1);
    EXPECT_GT(sprites(), 0);
    // Null hooks are allowed.
    DrawScene(*g, res, *fb);
}

TEST_F(SceneTest, DrawingNeverChangesTheState) {
    for (int k = 0; k < 12; ++k) PlaceBlock(*g, k % 7, (k * 3) % 7, k / 7, k % 5, k % 3 ? Solid : Vanishing);
    g->Board[2][2][0].vanishTimer = 150;
    g->Board[2][2][0].popupSize = 27;
    g->Board[2][2][0].popupTimer = 20;
    g->Board[2][2][0].chainSlot = 0;
    g->ChainSlots[0] = ChainSlot{2, 3, 90, 0};
    g->PushIntent = 15;
    g->RunMode = RunTutorial;
    g->FadeLevel = 30;
    g->RoundFrame = 400;
    auto before = std::make_unique<GameState>(*g);
    Draw();
    EXPECT_EQ(std::memcmp(before.get(), g.get(), sizeof(GameState)), 0);
    g->RunMode = RunTitle;
    *before = *g;
    Draw();
    EXPECT_EQ(std::memcmp(before.get(), g.get(), sizeof(GameState)), 0);
}

TEST_F(SceneTest, BackgroundDarkensWithTheLevel) {
    g->RunMode = RunTitle;
    const struct {
        int level;
        uint32_t colour;
    } cases[] = {{1, 0xFAFAFA}, {15, 0xFAFAFA}, {16, 0xF0F0F0}, {20, 0xC8C8C8}, {24, 0xA0A0A0}, {26, 0}};
    for (const auto& c : cases) {
        g->Level = c.level;
        Draw();
        EXPECT_EQ(at(320, 5), ColourToPixel(c.colour)) << c.level;
        EXPECT_EQ(at(0, 0), ColourToPixel(c.colour)) << c.level;
        EXPECT_EQ(at(639, 479 - 470), ColourToPixel(c.colour)) << c.level;
    }
    // At level 25 the sinking floor sets the grey: tile [1][0] at -400 gives 10.
    g->Level = 25;
    g->BackgroundGrid[1][0].y = -400;
    Draw();
    EXPECT_EQ(at(320, 5), ColourToPixel(0x646464));
    g->BackgroundGrid[1][0].y = -100;  // trunc(0 / 30) = 0, kept at least 1
    Draw();
    EXPECT_EQ(at(320, 5), ColourToPixel(0x0A0A0A));
}

TEST_F(SceneTest, FadeSquaresGrowFromDotsToAWhiteScreen) {
    g->RunMode = RunTitle;
    g->FadeLevel = 80;
    Draw();
    int white = 0;
    for (int y = 1; y < kFrameHeight; ++y) {
        for (int x = 1; x < kFrameWidth; ++x) white += at(x, y) == kWhitePixel;
    }
    EXPECT_EQ(white, 639 * 479);
    for (int level : {1, 81}) {
        g->FadeLevel = level;
        Draw();
        EXPECT_EQ(at(1, 1), kWhitePixel) << level;
        EXPECT_EQ(at(2, 2), kWhitePixel) << level;
        EXPECT_NE(at(3, 3), kWhitePixel) << level;
        EXPECT_NE(at(0, 0), kWhitePixel) << level;
        EXPECT_EQ(at(562, 402), kWhitePixel) << level;
        EXPECT_NE(at(563, 401), kWhitePixel) << level;
    }
    g->FadeLevel = 40;  // 41-pixel squares
    Draw();
    EXPECT_EQ(at(81 + 40, 81 + 40), kWhitePixel);
    EXPECT_NE(at(81 + 41, 81 + 20), kWhitePixel);
}

class TutorialBand : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        g->RunMode = RunTutorial;
        g->Playback = PlaybackOn;
    }
    // Text pixels: darker than the band's grey 0xE6.
    int Ink(int top) const {
        int n = 0;
        for (int y = top; y < top + 18; ++y) {
            for (int x = 41; x < 639; ++x) n += (at(x, y) & 0xFF) < 0xC0;
        }
        return n;
    }
};

TEST_F(TutorialBand, BandAndCaptionsFollowTheRoundFrame) {
    g->RoundFrame = 299;
    Draw();
    EXPECT_EQ(at(1, 401), ColourToPixel(0xC8C8C8));
    EXPECT_EQ(at(639, 479), ColourToPixel(0xC8C8C8));
    EXPECT_EQ(at(10, 470), ColourToPixel(0xE6E6E6));
    EXPECT_EQ(Ink(411), 0);
    g->RoundFrame = 300;
    Draw();
    EXPECT_GT(Ink(411), 200);
    EXPECT_EQ(Ink(436), 0);  // caption 0 has no second line
    g->RoundFrame = 1499;
    Draw();
    EXPECT_GT(Ink(411), 200);
    g->CaptionIndex = 1;
    g->RoundFrame = 1500;
    Draw();
    EXPECT_GT(Ink(411), 200);
    EXPECT_GT(Ink(436), 200);
    g->CaptionIndex = 4;
    g->RoundFrame = 0;
    Draw();
    EXPECT_EQ(Ink(411) + Ink(436), 0);
    g->CaptionIndex = 99;  // out of the table: band only
    Draw();
    EXPECT_EQ(Ink(411), 0);
    // The band belongs to the tutorial only.
    g->RunMode = RunGame;
    Draw();
    EXPECT_NE(at(10, 470), ColourToPixel(0xE6E6E6));

    // In English: each caption's two lines at the same times, each line
    // within the band.
    g->RunMode = RunTutorial;
    res.language = TextLanguage::English;
    res.EnglishCaptionFont = CreateGameFont(kEnglishFontFile, 18, 400);
    ASSERT_NE(res.EnglishCaptionFont.face, nullptr) << kEnglishFontFile;
    for (int k = 0; k < 4; ++k) {
        const TutorialCaption& c = kTutorialCaptions[k];
        g->CaptionIndex = k;
        g->RoundFrame = c.start + c.length / 2;
        Draw();
        EXPECT_GT(Ink(411), 200) << k;
        EXPECT_GT(Ink(436), 200) << k;
        for (int line = 0; line < 2; ++line) {
            const std::u16string text = EnglishCaptionLine(k, line, res.keys);
            EXPECT_LE(41 + TextWidthW(res.EnglishCaptionFont, text.c_str(), static_cast<int>(text.size())), 639)
                << "caption " << k << " line " << line;
        }
        g->RoundFrame = c.start + c.length;
        Draw();
        EXPECT_EQ(Ink(411) + Ink(436), 0) << k;
    }
}

TEST_F(SceneTest, ReadyAndGoBannersLevelUpAndLabels) {
    g->ReadyCountdown = 100;
    Draw();
    EXPECT_TRUE(Shows(screen::kReadyBanner));
    g->ReadyCountdown = 0;
    g->PlayFrames = 30;
    Draw();
    EXPECT_TRUE(Shows(screen::kGoBanner));
    g->PlayFrames = 60;
    Draw();
    EXPECT_FALSE(Touches(screen::kGoBanner));
    g->LevelUpFlash = 1;
    Draw();
    for (const ScreenSprite* s : {&screen::kLevelUpLabel, &screen::kLevelLabel, &screen::kScoreLabel,
                                  &screen::kTimeLabel, &screen::kQuotaLabel, &screen::kFpsLabel})
        EXPECT_TRUE(Shows(*s)) << s->rect.what;
}

TEST_F(SceneTest, ModeLabelsAndThePlaybackCaptionBlink) {
    g->PushIntent = 1;
    Draw();
    EXPECT_TRUE(Shows(screen::kKickKeyLabel));
    EXPECT_TRUE(Shows(screen::kKeysLabel));
    g->PushIntent = 0;
    Draw();
    EXPECT_FALSE(Touches(screen::kKickKeyLabel));
    g->Playback = PlaybackOn;
    g->RunMode = RunReplay;
    g->RoundFrame = 99;
    Draw();
    EXPECT_TRUE(Shows(screen::kReplayLabel));
    EXPECT_TRUE(Shows(screen::kInGameCaption));
    g->RoundFrame = 100;
    Draw();
    EXPECT_FALSE(Touches(screen::kInGameCaption));
    g->RunMode = RunDemo1;
    g->RoundFrame = 240;
    Draw();
    EXPECT_TRUE(Shows(screen::kDemoLabel));
    EXPECT_TRUE(Shows(screen::kInGameCaption));
    g->RunMode = RunGame;  // a replay started with R: no caption, the demo label
    Draw();
    EXPECT_TRUE(Shows(screen::kDemoLabel));
    EXPECT_FALSE(Touches(screen::kInGameCaption));
}

TEST_F(SceneTest, TimeFigureBlinksUnderTenSeconds) {
    const struct {
        int shown;
        const char* text;  // null: no figure
    } cases[] = {{540, "009"}, {593, "009"}, {594, nullptr}, {599, nullptr}, {600, "010"},
                 {659, "010"}, {-30, "000"}, {3600, "060"}, {60000 * 20, "999"}};
    for (const auto& c : cases) {
        g->ShownTime = c.shown;
        Draw();
        if (c.text != nullptr) {
            EXPECT_TRUE(TextAt(screen::kTimeDigits, kLargeDigits, c.text)) << c.shown;
        } else {
            for (char d = '0'; d <= '9'; ++d)
                EXPECT_FALSE(GlyphAt(screen::kTimeDigits.x, screen::kTimeDigits.y, kLargeDigits, d)) << c.shown;
        }
    }
}

TEST_F(SceneTest, ScoreCornerShowsFiveDigitsAndTheEndBannerSix) {
    const DigitRow figure{screen::kEndScoreFigure.x, 0, screen::kEndScoreFigure.y};
    g->ShownScore = 123456;
    Draw();
    EXPECT_TRUE(TextAt(screen::kScoreDigits, kMediumDigits, "23456"));
    g->TimeLeft = -200;
    Draw();
    EXPECT_TRUE(Shows(screen::kEndOfRoundBanner));
    EXPECT_TRUE(Shows(screen::kEndScoreLabel));
    EXPECT_TRUE(TextAt(figure, kLargeDigits, "123456"));
    g->ShownScore = 99999;
    Draw();
    EXPECT_TRUE(TextAt(figure, kLargeDigits, "99999"));
    EXPECT_FALSE(GlyphAt(figure.x + kLargeDigits.advance * 5, figure.y, kLargeDigits, '9'));
    g->ShownScore = 12345678;  // past six digits: shown as 999999
    Draw();
    EXPECT_TRUE(TextAt(figure, kLargeDigits, "999999"));
    EXPECT_TRUE(TextAt(screen::kScoreDigits, kMediumDigits, "45678"));
    // Too early for the score, and never in the tutorial.
    g->ShownScore = 500;
    g->TimeLeft = -150;
    Draw();
    EXPECT_TRUE(Shows(screen::kEndScoreLabel));
    EXPECT_FALSE(TextAt(figure, kLargeDigits, "00500"));
    g->TimeLeft = -200;
    g->RunMode = RunTutorial;
    g->Playback = PlaybackOn;
    Draw();
    EXPECT_FALSE(Touches(screen::kEndScoreLabel));
    // A round ended by a held Escape shows no banner.
    g->RunMode = RunGame;
    g->Playback = PlaybackOff;
    g->EscHold = 60;
    Draw();
    EXPECT_FALSE(Touches(screen::kEndOfRoundBanner));
}

TEST_F(SceneTest, HighScorePlaceMarkForTheFirstEqualScore) {
    const ScreenSprite second{sheet::kPlaceMarks[1], screen::kEndPlaceMark.x, screen::kEndPlaceMark.y};
    g->TimeLeft = -300;
    g->HighScores[0] = 900;
    g->HighScores[1] = 300;
    g->HighScores[2] = 300;
    g->ShownScore = 300;
    Draw();
    EXPECT_TRUE(Shows(second));
    EXPECT_TRUE(Shows(screen::kEndNewRecordLabel));
    g->Playback = PlaybackOn;
    g->RunMode = RunReplay;
    Draw();
    EXPECT_FALSE(Touches(second));
    g->Playback = PlaybackOff;
    g->RunMode = RunGame;
    g->ShownScore = 301;
    Draw();
    EXPECT_FALSE(Touches(screen::kEndNewRecordLabel));
}

TEST_F(SceneTest, LevelQuotaFrameRateAndPlayTime) {
    g->Level = 7;
    g->LevelQuota = -2;
    g->FramesPerSecond = 30;
    g->PlayFrames = 750;  // 12.50 seconds
    Draw();
    EXPECT_TRUE(TextAt(screen::kLevelDigits, kMediumDigits, "007"));
    EXPECT_TRUE(TextAt(screen::kQuotaDigits, kMediumDigits, "000"));
    EXPECT_TRUE(TextAt(screen::kFpsDigits, kTinyDigits, "030", kRankBase));
    EXPECT_TRUE(TextAt(screen::kPlayTimeDigits, kTinyDigits, "012.50", kRankBase));
}

TEST_F(SceneTest, ChainPopupsShowPointsTimesBlocksAndSlide) {
    const screen::ChainPopupLayout& layout = screen::kChainPopups;
    const int pitch = layout.glyphPitch;
    const int rest = layout.x0 - layout.slideStep * layout.leastSteps;  // the left column at rest
    auto row = [&](int k) { return layout.top + layout.rowPitch * k; };
    g->ChainSlots[2] = ChainSlot{1, 5, 60, 0};
    g->ChainSlots[3] = ChainSlot{2, 1, 60, 0};
    g->ChainSlots[4] = ChainSlot{1, 2, 60, 0};
    g->ChainSlots[5] = ChainSlot{50, 500, 60, 0};
    Draw();
    EXPECT_TRUE(TextAt(rest, row(2), kSmallDigits, "120x05", pitch));
    EXPECT_TRUE(TextAt(rest, row(3), kSmallDigits, "140x01", pitch));
    EXPECT_TRUE(TextAt(rest, row(4), kSmallDigits, "100x02", pitch));
    EXPECT_TRUE(TextAt(rest, row(5), kSmallDigits, "999x99", pitch));
    // Resting from timer 90 down to 30.
    for (int timer : {90, 80, 30}) {
        g->ChainSlots[2].timer = timer;
        Draw();
        EXPECT_TRUE(TextAt(rest, row(2), kSmallDigits, "120x05", pitch)) << timer;
    }
    // Sliding in at timer 91, a step left of its rest: the first glyph
    // shows only the columns right of x = 0.
    g->ChainSlots[2].timer = 91;
    Draw();
    const int first = rest - layout.slideStep;
    ASSERT_LT(first, 0);
    EXPECT_EQ(at(0, row(2)), SourceCode(GlyphSourceX(kSmallDigits, '1') - first, kSmallDigits.y));
    EXPECT_TRUE(TextAt(first + pitch, row(2), kSmallDigits, "20x05", pitch));
    // Timer 120, 100 and 20: off the left edge; timer 0: free slot.
    for (int timer : {120, 100, 20, 0}) {
        g->ChainSlots[2].timer = timer;
        Draw();
        for (int x = 0; x < 500; ++x) {
            EXPECT_NE(at(x, row(2) + 3) >> 24, 0xFFu) << timer << " " << x;
        }
    }
}

TEST_F(SceneTest, BoardMapShowsBlocksAndThePlayer) {
    PlaceBlock(*g, 2, 3, 0, 1);
    PlaceBlock(*g, 4, 4, 1, 3);
    PlaceBlock(*g, 5, 5, 0, 2);
    g->Board[5][5][0].arriveTimer = 30;  // announced: still white
    g->PlayerX = 350;
    g->PlayerZ = 350;
    g->PlayerY = 0;
    Draw();
    const screen::BoardMapLayout& map = screen::kBoardMap;
    // A pixel `in` pixels right of and below the corner of cell (i, j, k).
    auto cell = [&](int i, int j, int k, int in) {
        return at(map.left + map.cell * i + in, map.floorTop - map.cell * j - map.layerRise * k + in);
    };
    const Palette& pal = res.palette;
    auto shade = [&](int family) { return ColourToPixel(pal.ShadeBrushes[family][paint::kMapCellShade].colour); };
    const int middle = map.cell / 2;
    EXPECT_EQ(cell(2, 3, 0, middle), shade(1));
    EXPECT_EQ(cell(2, 3, 0, 0), ColourToPixel(pal.FixedPens[paint::kGreyPen].colour));  // its outline
    EXPECT_EQ(cell(4, 4, 1, middle), shade(3));
    EXPECT_EQ(cell(5, 5, 0, middle), ColourToPixel(pal.WhiteBrush.colour));  // announced: still white
    // The player's mark in cell (3, 3): its fill, its outline, and white around it.
    EXPECT_EQ(cell(3, 3, 0, middle), ColourToPixel(pal.GreyBrushes[paint::kMarkerGrey].colour));
    EXPECT_EQ(cell(3, 3, 0, map.markNear), ColourToPixel(pal.FixedPens[paint::kOutlinePen].colour));
    EXPECT_EQ(cell(3, 3, 0, map.markNear - 2), ColourToPixel(pal.WhiteBrush.colour));
}

TEST(BlockRules, ShadeOffsetsFadingBoxAndAnnouncement) {
    EXPECT_EQ(BlockShadeOffset(181), 5);
    EXPECT_EQ(BlockShadeOffset(180), 5);
    EXPECT_EQ(BlockShadeOffset(150), 2);
    EXPECT_EQ(BlockShadeOffset(121), 0);
    EXPECT_EQ(BlockShadeOffset(100), 1);
    EXPECT_EQ(BlockShadeOffset(80), 0);
    EXPECT_EQ(BlockShadeOffset(0), 0);
    EXPECT_EQ(BlockShadeOffset(-25), 0);
    EXPECT_EQ(BlockShadeOffset(100000), 5);

    BlockSlot fading{};
    fading.state = Fading;
    fading.vanishTimer = 5;
    const BlockBox box = BlockBoxOf(fading, 100, 200);
    EXPECT_FLOAT_EQ(box.xl, 125);
    EXPECT_FLOAT_EQ(box.xh, 175);
    EXPECT_FLOAT_EQ(box.zl, 225);
    EXPECT_FLOAT_EQ(box.zh, 275);
    EXPECT_FLOAT_EQ(box.yb, 25);
    EXPECT_FLOAT_EQ(box.yt, 75);
    BlockSlot rising{};
    rising.state = Solid;
    rising.height = -60;
    const BlockBox cut = BlockBoxOf(rising, 0, 0);
    EXPECT_FLOAT_EQ(cut.yb, 0);
    EXPECT_FLOAT_EQ(cut.yt, 40);
    EXPECT_FLOAT_EQ(cut.xh - cut.xl, 100);

    BlockSlot arriving{};
    arriving.state = Solid;
    arriving.arriveTimer = 60;
    EXPECT_FLOAT_EQ(ArrivalSquareHeight(arriving, 0, 1), 125);
    EXPECT_FLOAT_EQ(ArrivalSquareHeight(arriving, 0, 3), 175);
    arriving.arriveTimer = 1;
    EXPECT_NEAR(ArrivalSquareHeight(arriving, 0, 1), 100.4, 0.05);
    arriving.height = -300;  // still below the floor: announced at the floor
    EXPECT_NEAR(ArrivalSquareHeight(arriving, 0, 3), 1.25, 1e-4);
}

TEST(BlockRules, PlayerTakesTheMostCommonColourLowestOnTies) {
    auto g = std::make_unique<GameState>();
    const int counts[5] = {3, 5, 5, 0, 1};
    std::copy(counts, counts + 5, g->ColourCounts);
    EXPECT_EQ(PlayerColourFamily(*g), 1);
    std::fill(g->ColourCounts, g->ColourCounts + 5, 0);
    EXPECT_EQ(PlayerColourFamily(*g), 0);
    g->ColourCounts[4] = 1;
    EXPECT_EQ(PlayerColourFamily(*g), 4);
}

TEST_F(SceneTest, RestingNeighboursHideFacesExceptAtTheEdge) {
    const Camera& cam = g->DrawCamera;  // (350, 400, -200): in front of column 3
    PlaceBlock(*g, 3, 3, 0, 0);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), FaceMinusZ);
    PlaceBlock(*g, 2, 3, 0, 0);
    PlaceBlock(*g, 4, 3, 0, 0);
    PlaceBlock(*g, 3, 2, 0, 0);
    PlaceBlock(*g, 3, 4, 0, 0);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), 0u);
    // A vanishing neighbour still hides; a fading or sliding one does not.
    g->Board[3][2][0].state = Vanishing;
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), 0u);
    g->Board[3][2][0].state = Fading;
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), FaceMinusZ);
    g->Board[3][2][0].state = Solid;
    g->Board[3][2][0].offsetZ = -40;
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), FaceMinusZ);
    g->Board[3][2][0].offsetZ = 0;
    // The block itself moving shows its faces.
    g->Board[3][3][0].offsetX = 0.5f;
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 3, 0), FaceMinusZ);
    g->Board[3][3][0].offsetX = 0;

    // On the -z edge with neighbours on its three other sides.
    PlaceBlock(*g, 3, 0, 0, 1);
    PlaceBlock(*g, 2, 0, 0, 1);
    PlaceBlock(*g, 4, 0, 0, 1);
    PlaceBlock(*g, 3, 1, 0, 1);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 3, 0, 0), FaceMinusZ);

    // Left of the camera the +x face shows, unless a resting neighbour is there.
    PlaceBlock(*g, 0, 5, 0, 2);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 0, 5, 0), FacePlusX | FaceMinusZ);
    PlaceBlock(*g, 1, 5, 0, 2);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 0, 5, 0), FaceMinusZ);
    // Stacked blocks never hide each other's faces.
    PlaceBlock(*g, 0, 5, 1, 2);
    PlaceBlock(*g, 1, 5, 1, 2);
    EXPECT_EQ(VisibleSideFaces(*g, cam, 0, 5, 1), FacePlusX | FaceMinusZ);
}

TEST_F(SceneTest, SlidingBlockIsDrawnAgainAtTheEmptyCellItEnters) {
    PlaceBlock(*g, 3, 3, 0, 0);
    g->Board[3][3][0].offsetZ = 40;  // moving toward row 4
    EXPECT_EQ(ShiftedBlockRow(*g, 3, 4, 0), 3);
    EXPECT_EQ(ShiftedBlockRow(*g, 3, 2, 0), 2);
    EXPECT_EQ(ShiftedBlockRow(*g, 3, 3, 0), 3);
    g->Board[3][3][0].offsetZ = -40;  // moving toward row 2
    EXPECT_EQ(ShiftedBlockRow(*g, 3, 2, 0), 3);
    EXPECT_EQ(ShiftedBlockRow(*g, 3, 4, 0), 4);
    // Board edges: no neighbour beyond row 0 or row 6.
    PlaceBlock(*g, 1, 0, 0, 0);
    g->Board[1][0][0].offsetZ = -40;
    EXPECT_EQ(ShiftedBlockRow(*g, 1, 1, 0), 1);
    EXPECT_EQ(ShiftedBlockRow(*g, 5, 0, 0), 0);
    EXPECT_EQ(ShiftedBlockRow(*g, 5, 6, 0), 6);
}

TEST_F(SceneTest, PlayerIsDrawnOverTheBlockBehindItAndUnderTheOneInFront) {
    // The player stands in row 2; the head is drawn in the colour of the
    // most common blocks (all counts 0: family 0, shade 6).
    g->PlayerX = 350;
    g->PlayerZ = 250;
    g->PlayerY = 0;
    const uint32_t head = ColourToPixel(0xFADCD2);
    const ScreenPoint centre = ProjectPoint(*g, g->DrawCamera, 350, 40, 250);
    Draw();
    EXPECT_EQ(at(centre.x, centre.y), head);
    PlaceBlock(*g, 3, 3, 0, 2);  // behind: drawn first, covered by the player
    PlaceBlock(*g, 3, 4, 1, 2);
    Draw();
    EXPECT_EQ(at(centre.x, centre.y), head);
    PlaceBlock(*g, 3, 1, 0, 2);  // in front: a stacked block covers the head
    PlaceBlock(*g, 3, 1, 1, 2);
    Draw();
    EXPECT_NE(at(centre.x, centre.y), head);
    // Jumping onto the stack height (200 and up) draws the player last.
    g->PlayerY = 200;
    const ScreenPoint high = ProjectPoint(*g, g->DrawCamera, 350, 240, 250);
    Draw();
    EXPECT_EQ(at(high.x, high.y), head);
}

}  // namespace
}  // namespace mervox
