// Text through Cairo and FreeType: fonts made from one font file, and text
// drawn transparently (no background box) in the context's text colour.
#pragma once

#include <cstdint>
#include <string>

#include "draw/draw_context.h"

namespace mervox {

// The Japanese gothic face every font of the game uses, and the name
// fontconfig is asked for when that file is missing.
extern const char* const kDefaultFontFile;
extern const char* const kDefaultFontFamily;

// Makes a font whose cell (ascent + descent) is `cellHeight` pixels.
// Weights of 600 and more are drawn emboldened. Returns a font with a null
// face when no font file could be opened; drawing with it does nothing.
Font CreateGameFont(const std::string& fontFile, int cellHeight, int weight);
void ReleaseFont(Font& font);

// Draws `count` UTF-16 characters with the selected font so that the top of
// the character cell is at row y and the pen starts at column x.
// At the context's drawing scale N the font is drawn N times its size.
void TextOutW(DrawContext& dc, int32_t x, int32_t y, const char16_t* text, int count);

// How far the pen moves over `count` UTF-16 characters in the font.
int TextWidthW(const Font& font, const char16_t* text, int count);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const char16_t* text, int count);

}  // namespace mervox
