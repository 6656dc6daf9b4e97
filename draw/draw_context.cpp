#include "draw/draw_context.h"

#include "draw/frame_buffer.h"

namespace mervox {

DrawContext MakeDrawContext(uint32_t* pixels, int width, int height, int scale) {
    DrawContext dc;
    dc.pixels = pixels;
    dc.width = pixels != nullptr && width > 0 ? width : 0;
    dc.height = pixels != nullptr && height > 0 ? height : 0;
    dc.scale = scale < 1 ? 1 : scale;
    return dc;
}

DrawContext MakeDrawContext(const FrameView& frame) {
    return MakeDrawContext(frame.pixels, frame.width, frame.height, frame.scale);
}

}  // namespace mervox
