// Numbers drawn glyph by glyph from the digit strips of the sheets.
#pragma once

#include <cstdint>

#include "render/sprite_sheet.h"

namespace mervox {

struct DigitStrip {
    int cellWidth;
    int cellHeight;
    int x0;          // source x of digit 0
    int y;           // source y of the strip
    int advance;     // pen advance between glyphs
    char extraChar;  // character with its own glyph after the digits (0: none)
    int extraX;      // source x of that glyph
};

// large, medium and small strips on the number sheet, tiny on the rank sheet
constexpr DigitStrip kLargeDigits{45, 45, 0, 0, 45, 0, 0};
constexpr DigitStrip kMediumDigits{30, 30, 0, 45, 30, 0, 0};
constexpr DigitStrip kSmallDigits{20, 20, 0, 75, 20, 'x', 200};
constexpr DigitStrip kTinyDigits{11, 11, 90, 71, 11, '.', 200};

// Source x of the glyph for character q.
int GlyphSourceX(const DigitStrip& strip, char q);

// Draws `count` characters of `text` (already formatted, zero-padded),
// character i at (x0 + i * advance, y); glyphs at x 640 or more are skipped.
void DrawDigitString(uint32_t* frame, const SpriteSheet& sheet, const char* text, int count, int x0,
                     int y, const DigitStrip& strip);

// Draws a glyph per character while the pen x is below `endX`, starting at
// x0: the callers' loops over a fixed end coordinate.
void DrawDigitsUntil(uint32_t* frame, const SpriteSheet& sheet, const char* text, int x0, int endX,
                     int y, const DigitStrip& strip);

}  // namespace mervox
