#include "tools/assets/font_face.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <vector>

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

namespace {

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

}  // namespace

bool OpenFont(const std::string& path, FontFace& font) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return false;
    FT_Face face = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(lib);
        return false;
    }
    // Outlines only: embedded bitmap strikes would make small sizes look
    // different from large ones.
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING);
    // Cairo may keep the face in its caches after the last use, so it is the
    // one to release the FreeType face; the library lives until the program
    // ends.
    if (cairo_font_face_set_user_data(cf, &kFaceKey, face, DoneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        FT_Done_Face(face);
        return false;
    }
    if (cairo_font_face_status(cf) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        return false;
    }
    // Kept reachable until the program ends, whatever becomes of `font`.
    static auto* const libraries = new std::vector<FT_Library>;
    libraries->push_back(lib);
    font.library = lib;
    font.face = face;
    font.cairo = cf;
    return true;
}

void CloseFont(FontFace& font) {
    if (font.cairo) cairo_font_face_destroy(font.cairo);
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
