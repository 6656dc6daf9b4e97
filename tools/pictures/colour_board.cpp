// Draws a round's board holding blocks of all five colours, resting, raised,
// stacked, flashing and announced, with the colour marks on or off, and
// writes the frame as a PNG.
//
// usage: mervox_colour_board <game folder> <out.png> [marks]
#include <cstdio>
#include <cstring>
#include <memory>

#include "game/simulation.h"
#include "render/png_writer.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

int main(int argc, char** argv) {
    using namespace mervox;
    if (argc < 3) {
        std::fprintf(stderr, "usage: mervox_colour_board <game folder> <out.png> [marks]\n");
        return 2;
    }
    auto g = std::make_unique<GameState>();
    InitProgramState(*g);
    ResetScene(*g);
    PutTitleStartCamera(*g);
    g->RunMode = RunGame;
    g->Playback = PlaybackOff;
    g->FadeLevel = 0;
    g->ReadyCountdown = 0;
    g->PlayFrames = 900;
    g->TimeLeft = g->ShownTime = 2400;
    g->Level = 12;
    g->PlayerX = 350;
    g->PlayerZ = 50;
    // Each colour on a row of its own, and every colour beside every other.
    for (int i = 0; i < 7; ++i) {
        for (int j = 1; j < 7; ++j) {
            BlockSlot& s = g->Board[i][j][0];
            s.state = Solid;
            s.colour = (i + 2 * j) % 5;
            s.chainSlot = -1;
            if ((i + j) % 4 == 0) {
                BlockSlot& up = g->Board[i][j][1];
                up.state = Solid;
                up.colour = (i + j + 1) % 5;
                up.height = 100;
                up.chainSlot = -1;
            }
        }
    }
    g->Board[2][5][0].state = Vanishing;
    g->Board[2][5][0].vanishTimer = 100;
    BlockSlot& announced = g->Board[5][2][1];
    announced = BlockSlot{};
    announced.state = Solid;
    announced.colour = 3;
    announced.height = 100;
    announced.arriveTimer = 60;
    RenderResources res;
    LoadRenderResources(res, argv[1]);
    res.colourMarks = argc > 3 && std::strcmp(argv[3], "marks") == 0;
    auto fb = std::make_unique<FrameBuffer>();
    DrawScene(*g, res, *fb);
    const bool ok = WriteFramePng(argv[2], fb->pixels, kFrameWidth, kFrameHeight, kPictureOrigin, kPictureOrigin, kFrameWidth, kFrameHeight);
    ReleaseRenderResources(res);
    if (!ok) std::fprintf(stderr, "mervox_colour_board: cannot write %s\n", argv[2]);
    return ok ? 0 : 1;
}
