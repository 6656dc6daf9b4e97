// Headless pictures: sheets loaded from a game folder, the frame written
// as the window would show it (from pixel (1, 1)).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/headless/frame_capture.h"
#include "game/simulation.h"
#include "render/sprite_sheet.h"
#include "tests/render/test_images.h"

namespace mervox {
namespace {

namespace fs = std::filesystem;

uint32_t Word(const SpriteSheet& s, int x, int y) { return s.pixels[y * SheetWidth(s) + x]; }

TEST(FrameCapture, WritesThePictureFromPixelOneOne) {
    const fs::path dir = fs::path(::testing::TempDir()) / "mervox-capture";
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    // A number sheet whose every pixel is opaque red.
    testing::PngPicture red;
    red.width = 640;
    red.height = 240;
    red.rows.resize(640 * 240 * 3);
    for (size_t k = 0; k < red.rows.size(); k += 3) red.rows[k] = 0xFF;
    const auto file = testing::EncodePng(red);
    std::FILE* f = std::fopen((dir / "data" / "number.png").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);

    FrameCapture* capture = OpenFrameCapture(dir.string());  // title and rank sheets missing
    ASSERT_NE(capture, nullptr);
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    ResetScene(*g);
    g->RunMode = RunGame;
    g->FadeLevel = 0;
    g->ReadyCountdown = 10;  // the ready banner: 300 x 60 at (171, 211)
    ASSERT_TRUE(CaptureFrame(capture, *g, 42, dir.string()));

    SpriteSheet shot;
    LoadPngImage((dir / "frame-42.png").string(), shot);
    ASSERT_NE(shot.pixels, nullptr);
    EXPECT_EQ(SheetWidth(shot), 640);
    EXPECT_EQ(SheetHeight(shot), 480);
    // Frame pixel (171, 211) is picture pixel (170, 210).
    EXPECT_EQ(Word(shot, 170, 210), 0xFFFF0000u);
    EXPECT_EQ(Word(shot, 469, 269), 0xFFFF0000u);
    EXPECT_NE(Word(shot, 169, 240), 0xFFFF0000u);
    EXPECT_NE(Word(shot, 470, 240), 0xFFFF0000u);
    // The last column and row lie outside the back buffer: black.
    EXPECT_EQ(Word(shot, 639, 100), 0xFF000000u);
    EXPECT_EQ(Word(shot, 100, 479), 0xFF000000u);
    FreeSpriteSheet(shot);

    EXPECT_FALSE(CaptureFrame(capture, *g, 43, (dir / "no" / "such" / "dir").string()));
    EXPECT_FALSE(CaptureFrame(nullptr, *g, 44, dir.string()));
    CloseFrameCapture(capture);
    CloseFrameCapture(nullptr);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace mervox
