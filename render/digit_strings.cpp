#include "render/digit_strings.h"

#include <cstring>

#include "draw/frame_buffer.h"

namespace mervox {

int GlyphSourceX(const DigitStrip& strip, char q) {
    if (strip.extraChar != 0 && q == strip.extraChar) return strip.extraX;
    return (static_cast<int>(static_cast<unsigned char>(q)) - '0') * strip.cellWidth + strip.x0;
}

void DrawDigitString(uint32_t* frame, const SpriteSheet& sheet, const char* text, int count, int x0,
                     int y, const DigitStrip& strip) {
    if (text == nullptr) return;
    const int length = static_cast<int>(std::strlen(text));
    if (count > length) count = length;
    for (int i = 0; i < count; ++i) {
        const int64_t x = x0 + static_cast<int64_t>(i) * strip.advance;
        if (x >= kFrameWidth) continue;
        DrawSprite(frame, strip.cellWidth, strip.cellHeight, sheet, static_cast<int>(x), y,
                   GlyphSourceX(strip, text[i]), strip.y);
    }
}

void DrawDigitsUntil(uint32_t* frame, const SpriteSheet& sheet, const char* text, int x0, int endX,
                     int y, const DigitStrip& strip) {
    if (strip.advance <= 0 || x0 >= endX) return;
    const int count = (endX - x0 + strip.advance - 1) / strip.advance;
    DrawDigitString(frame, sheet, text, count, x0, y, strip);
}

}  // namespace mervox
