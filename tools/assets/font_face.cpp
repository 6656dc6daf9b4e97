#include "tools/assets/font_face.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

namespace mervox_assets {

namespace {

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string FindGothicFont(const std::string& preferred) {
    if (!preferred.empty()) return FileExists(preferred) ? preferred : std::string();
    const char* const candidates[] = {
        "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
        "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
        "/usr/share/fonts/truetype/ipafont-gothic/ipag.ttf",
    };
    for (const char* c : candidates)
        if (FileExists(c)) return c;
    return {};
}

bool OpenFont(const std::string& path, FontFace& font) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return false;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(lib);
        return false;
    }
    font.library = lib;
    font.face = face;
    // Outlines only: embedded bitmap strikes would make small sizes look
    // different from large ones.
    font.cairo = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING);
    return cairo_font_face_status(font.cairo) == CAIRO_STATUS_SUCCESS;
}

void CloseFont(FontFace& font) {
    if (font.cairo) cairo_font_face_destroy(font.cairo);
    if (font.face) FT_Done_Face(static_cast<FT_Face>(font.face));
    if (font.library) FT_Done_FreeType(static_cast<FT_Library>(font.library));
    font = FontFace{};
}

void UseFont(cairo_t* cr, const FontFace& font, double size) {
    cairo_set_font_face(cr, font.cairo);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace mervox_assets
