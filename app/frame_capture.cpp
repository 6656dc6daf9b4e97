#include "app/frame_capture.h"

#include <cstdio>
#include <memory>

#include "draw/frame_buffer.h"
#include "render/png_writer.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"

namespace mervox {

struct FrameCapture {
    RenderResources res;
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

FrameCapture* OpenFrameCapture(const std::string& baseDir) {
    auto* capture = new FrameCapture;
    LoadRenderResources(capture->res, baseDir);
    const struct {
        const SpriteSheet& sheet;
        const char* name;
    } sheets[] = {{capture->res.NumberSheet, "number.png"},
                  {capture->res.TitleSheet, "title.png"},
                  {capture->res.RankSheet, "rank.png"}};
    for (const auto& s : sheets) {
        if (s.sheet.pixels == nullptr) {
            std::fprintf(stderr, "mervox: %s/data/%s could not be read; its pictures are left out\n",
                         baseDir.c_str(), s.name);
        }
    }
    return capture;
}

void CloseFrameCapture(FrameCapture* capture) {
    if (capture == nullptr) return;
    ReleaseRenderResources(capture->res);
    delete capture;
}

bool CaptureFrame(FrameCapture* capture, const GameState& g, int frame, const std::string& outDir) {
    if (capture == nullptr) return false;
    DrawScene(g, capture->res, *capture->frame);
    // The window shows the frame from pixel (1, 1).
    const std::string path = outDir + "/frame-" + std::to_string(frame) + ".png";
    return WriteFramePng(path, capture->frame->pixels, kFrameWidth, kFrameHeight, 1, 1, kFrameWidth,
                         kFrameHeight);
}

}  // namespace mervox
