// One named font file opened through FreeType and handed to Cairo, so the
// sheets never depend on what fontconfig happens to find first.
#pragma once

#include <cairo.h>
#include <string>

namespace mervox_assets {

struct FontFace {
    void* library = nullptr;  // FT_Library
    void* face = nullptr;     // FT_Face
    cairo_font_face_t* cairo = nullptr;
};

// The IPAGothic file: the path given, else the first of the usual Debian
// locations that exists. Empty when none is found.
std::string FindGothicFont(const std::string& preferred);

// Opens the font at `path`. False (with nothing held) when it cannot be read.
bool OpenFont(const std::string& path, FontFace& font);
// Lets go of the font; Cairo frees the face once nothing uses it.
void CloseFont(FontFace& font);

// Selects the font at `size` pixels on `cr`, with hinting off so that
// glyph outlines are placed exactly where they are asked to be.
void UseFont(cairo_t* cr, const FontFace& font, double size);

}  // namespace mervox_assets
