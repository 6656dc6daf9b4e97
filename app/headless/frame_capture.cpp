#include "app/headless/frame_capture.h"

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
    // A sheet that cannot be loaded is named there, and left out here.
    LoadRenderResources(capture->res, baseDir);
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
