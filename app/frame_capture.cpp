#include "app/frame_capture.h"

namespace mervox {

struct FrameCapture {};

FrameCapture* OpenFrameCapture(const std::string&) { return nullptr; }
void CloseFrameCapture(FrameCapture*) {}
bool CaptureFrame(FrameCapture*, const GameState&, int, const std::string&) { return false; }

}  // namespace mervox
