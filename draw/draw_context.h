// The drawing context of the back buffer: the pixels it draws into and the
// objects selected into it. A selection stays in force until the next one;
// selecting a null object changes nothing.
#pragma once

#include <cstdint>

#include "draw/draw_objects.h"

namespace mervox {

// A position in frame-buffer pixels. Values far outside the bitmap are
// normal: every operation clips.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct DrawContext {
    uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    const Brush* brush = nullptr;  // null: no fill
    const Pen* pen = nullptr;      // null: no outline
    const Font* font = nullptr;
    uint32_t textColour = 0;       // 0x00BBGGRR
    int32_t curX = 0;              // current position for LineTo
    int32_t curY = 0;
    // Drawing scale: coordinates are in pixels of a frame N times finer
    // than the original picture, and pens and fonts are N times wider.
    int scale = 1;
};

DrawContext MakeDrawContext(uint32_t* pixels, int width, int height, int scale = 1);

struct FrameView;
// A context over a frame, at the frame's drawing scale.
DrawContext MakeDrawContext(const FrameView& frame);

inline void SelectBrush(DrawContext& dc, const Brush* b) {
    if (b != nullptr) dc.brush = b;
}
inline void SelectPen(DrawContext& dc, const Pen* p) {
    if (p != nullptr) dc.pen = p;
}
inline void SelectFont(DrawContext& dc, const Font* f) {
    if (f != nullptr) dc.font = f;
}
inline void SetTextColour(DrawContext& dc, uint32_t colour) { dc.textColour = colour; }

}  // namespace mervox
