#include "app/services/drawn_frame.h"

#include <ctime>

namespace mervox {

void StartDrawnFrame(DrawnFrame& d, const std::string& writeDir) {
    d.frame.SetScale(1);
    StartScreenshotWriter(d.screenshots, writeDir);
}

void StopDrawnFrame(DrawnFrame& d) { StopScreenshotWriter(d.screenshots); }

FrameView FrameToDraw(DrawnFrame& d, const ProgramPlatform& platform, RenderResources& res, DrawingStyle drawing) {
    const int wanted = platform.drawScale(drawing);
    if (wanted != d.frame.scale) {
        d.frame.SetScale(wanted);
        PrepareSheetsAt(res, d.frame.scale);
    }
    return d.frame.view();
}

void PresentDrawnFrame(DrawnFrame& d, const ProgramPlatform& platform) {
    const FrameView fb = d.frame.view();
    if (d.screenshotWanted) {
        d.screenshotWanted = false;
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        TakeScreenshot(d.screenshots, fb.pixels, local, fb.scale);
    }
    platform.presentFrame(fb.pixels);
}

}  // namespace mervox
