// Numbers drawn glyph by glyph from the digit strips of the sheets.
#pragma once

#include <cstdint>

#include "render/sheet_layout.h"  // the strips: DigitStrip, kLargeDigits ...
#include "render/sprite_sheet.h"

namespace mervox {

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

// The same into a frame at drawing scale N, from the sheet drawn at that
// scale; positions in pixels of the original picture.
void DrawDigitString(const FrameView& frame, const SpriteSheet& sheet, const char* text, int count, int x0,
                     int y, const DigitStrip& strip);
void DrawDigitsUntil(const FrameView& frame, const SpriteSheet& sheet, const char* text, int x0, int endX,
                     int y, const DigitStrip& strip);

// One glyph of the strip for character q with its corner at (x, y) of the
// original picture.
void DrawGlyph(const FrameView& frame, const SpriteSheet& sheet, char q, int x, int y, const DigitStrip& strip);

}  // namespace mervox
