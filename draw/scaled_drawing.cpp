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

namespace {

int WordsLength(const char16_t* s) {
    int n = 0;
    while (s[n] != 0) ++n;
    return n;
}

}  // namespace

void ScaledWords(DrawContext& dc, int x, int y, const char16_t* words, uint32_t colour) {
    SetTextColour(dc, colour);
    ScaledText(dc, x, y, words, WordsLength(words));
}

void ScaledEdgedWords(DrawContext& dc, int x, int y, const char16_t* words, uint32_t colour, uint32_t edge) {
    const int n = WordsLength(words);
    SetTextColour(dc, edge);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0) ScaledText(dc, x + dx, y + dy, words, n);
    SetTextColour(dc, colour);
    ScaledText(dc, x, y, words, n);
}

}  // namespace mervox
