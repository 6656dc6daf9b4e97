#include "render/digit_strings.h"

#include <cstring>

#include "draw/frame_buffer.h"

namespace mervox {

int GlyphSourceX(const DigitStrip& strip, char q) {
    if (strip.extraChar != 0 && q == strip.extraChar) return strip.extraX;
    return (static_cast<int>(static_cast<unsigned char>(q)) - '0') * strip.cellWidth + strip.x0;
}

void DrawGlyph(const FrameView& frame, const SpriteSheet& sheet, char q, int x, int y, const DigitStrip& strip) {
    const int n = frame.scale;
    DrawSprite(frame, strip.cellWidth * n, strip.cellHeight * n, sheet, x * n, y * n, GlyphSourceX(strip, q) * n,
               strip.y * n);
}

void DrawDigitString(const FrameView& frame, const SpriteSheet& sheet, const char* text, int count, int x0,
                     int y, const DigitStrip& strip) {
    if (text == nullptr) return;
    const int length = static_cast<int>(std::strlen(text));
    if (count > length) count = length;
    for (int i = 0; i < count; ++i) {
        const int64_t x = x0 + static_cast<int64_t>(i) * strip.advance;
        if (x >= kFrameWidth) continue;
        DrawGlyph(frame, sheet, text[i], static_cast<int>(x), y, strip);
    }
}

void DrawDigitsUntil(const FrameView& frame, const SpriteSheet& sheet, const char* text, int x0, int endX,
                     int y, const DigitStrip& strip) {
    if (strip.advance <= 0 || x0 >= endX) return;
    const int count = (endX - x0 + strip.advance - 1) / strip.advance;
    DrawDigitString(frame, sheet, text, count, x0, y, strip);
}

void DrawDigitString(uint32_t* frame, const SpriteSheet& sheet, const char* text, int count, int x0,
                     int y, const DigitStrip& strip) {
    DrawDigitString(FrameView(frame, 1), sheet, text, count, x0, y, strip);
}

void DrawDigitsUntil(uint32_t* frame, const SpriteSheet& sheet, const char* text, int x0, int endX,
                     int y, const DigitStrip& strip) {
    DrawDigitsUntil(FrameView(frame, 1), sheet, text, x0, endX, y, strip);
}

}  // namespace mervox
