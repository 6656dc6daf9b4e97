#include "app/headless/frame_capture.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "draw/frame_buffer.h"
#include "render/png_writer.h"
#include "render/render_resources.h"
#include "render/scene_drawing.h"
#include "save/options_file.h"
#include "title/shown_language.h"

namespace mervox {

struct FrameCapture {
    RenderResources res;
    ScaledFrame frame;
};

FrameCapture* OpenFrameCapture(const std::string& baseDir, int drawScale) {
    auto* capture = new FrameCapture;
    // A sheet that cannot be loaded is named there, and left out here.
    LoadRenderResources(capture->res, baseDir);
    // The pictures show what the player's options.txt asks for; without
    // one they are the original pictures.
    ApplyOptions(capture->res, ReadOptionsFile(baseDir), false);
    capture->frame.SetScale(drawScale);
    PrepareSheetsAt(capture->res, capture->frame.scale);
    return capture;
}

void CloseFrameCapture(FrameCapture* capture) {
    if (capture == nullptr) return;
    ReleaseRenderResources(capture->res);
    delete capture;
}

bool CaptureFrame(FrameCapture* capture, const GameState& g, int frame, const std::string& outDir) {
    if (capture == nullptr) return false;
    const FrameView view = capture->frame.view();
    DrawScene(g, capture->res, view);
    // The picture as the window shows it.
    const std::string path = outDir + "/frame-" + std::to_string(frame) + ".png";
    const int origin = kPictureOrigin * view.scale;
    return WriteFramePng(path, view.pixels, view.width, view.height, origin, origin, view.width,
                         view.height);
}

int CaptureScale(const FrameCapture* capture) { return capture == nullptr ? 1 : capture->frame.scale; }

bool DrawCapturedPicture(FrameCapture* capture, const GameState& g, std::vector<uint32_t>& picture) {
    if (capture == nullptr) return false;
    const FrameView view = capture->frame.view();
    DrawScene(g, capture->res, view);
    // The rows and columns past the frame's edge are black, as in the PNG.
    const int origin = kPictureOrigin * view.scale;
    picture.assign(static_cast<size_t>(view.width) * view.height, 0);
    for (int y = 0; y + origin < view.height; ++y) {
        const uint32_t* from = view.pixels + static_cast<size_t>(y + origin) * view.width + origin;
        std::copy(from, from + (view.width - origin), picture.begin() + static_cast<std::ptrdiff_t>(y) * view.width);
    }
    return true;
}

}  // namespace mervox
