#include "draw/scaled_drawing.h"

#include "draw/gdi_calls.h"
#include "draw/raster.h"
#include "draw/text_drawing.h"

namespace mervox {

void ScaledRectangle(DrawContext& dc, int x0, int y0, int x1, int y1) {
    const int n = dc.scale;
    Rectangle(dc, x0 * n, y0 * n, x1 * n, y1 * n);
}

void ScaledFill(DrawContext& dc, int x0, int y0, int x1, int y1, uint32_t pixel) {
    const int n = dc.scale;
    FillPixelRect(dc, x0 * n, y0 * n, x1 * n, y1 * n, pixel);
}

void ScaledText(DrawContext& dc, int x, int y, const char16_t* text, int count) {
    TextOutW(dc, x * dc.scale, y * dc.scale, text, count);
}

}  // namespace mervox
