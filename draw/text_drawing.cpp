#include "draw/text_drawing.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <mutex>

namespace mervox {

const char* const kDefaultFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
const char* const kDefaultFontFamily = "IPAGothic";

namespace {

FT_Library SharedFreeType() {
    static FT_Library library = nullptr;
    static std::once_flag once;
    std::call_once(once, [] {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    });
    return library;
}

// Faces are made and dropped through the one library from any thread (a
// video export draws beside the window), which FreeType allows only one at
// a time; each face is then used by the thread that made it.
std::mutex& FaceLock() {
    static std::mutex lock;
    return lock;
}

FT_Error NewFace(FT_Library library, const std::string& file, FT_Face* face) {
    std::lock_guard<std::mutex> hold(FaceLock());
    return FT_New_Face(library, file.c_str(), 0, face);
}

void DropFace(FT_Face face) {
    std::lock_guard<std::mutex> hold(FaceLock());
    FT_Done_Face(face);
}

// The file fontconfig picks for the family, or "" when none.
std::string MatchFontFile(const char* family) {
    std::string path;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    if (pattern == nullptr) return path;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
            path = reinterpret_cast<const char*>(file);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) { DropFace(static_cast<FT_Face>(face)); }

}  // namespace

Font CreateGameFont(const std::string& fontFile, int cellHeight, int weight) {
    Font font;
    font.cellHeight = cellHeight;
    font.weight = weight;
    FT_Library library = SharedFreeType();
    if (library == nullptr || cellHeight <= 0) return font;
    FT_Face face = nullptr;
    if (NewFace(library, fontFile, &face) != 0) {
        face = nullptr;
        const std::string matched = MatchFontFile(kDefaultFontFamily);
        if (matched.empty() || NewFace(library, matched, &face) != 0) return font;
    }
    // The cell is the Windows ascent plus descent of the face (the hhea
    // values when the face has no OS/2 table).
    double ascentUnits = face->ascender;
    double descentUnits = -face->descender;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            ascentUnits = os2->usWinAscent;
            descentUnits = os2->usWinDescent;
        }
    }
    const double units = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
    const double cellUnits = ascentUnits + descentUnits > 0 ? ascentUnits + descentUnits : units;
    font.emSize = cellHeight * units / cellUnits;
    font.ascent = std::round(ascentUnits * font.emSize / units);
    font.ascentPerEm = ascentUnits / units;

    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, FT_LOAD_NO_BITMAP);
    if (cairo_font_face_status(cf) != CAIRO_STATUS_SUCCESS ||
        cairo_font_face_set_user_data(cf, &kFaceKey, face, DoneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cf);
        DropFace(face);
        return font;
    }
    // fontconfig would fake bold only from weight 700; the caption weight
    // 600 is emboldened here explicitly.
    if (weight >= 600) cairo_ft_font_face_set_synthesize(cf, CAIRO_FT_SYNTHESIZE_BOLD);
    font.face = cf;
    return font;
}

void ReleaseFont(Font& font) {
    if (font.face != nullptr) cairo_font_face_destroy(font.face);
    font.face = nullptr;
}

std::string Utf16ToUtf8(const char16_t* text, int count) {
    std::string out;
    for (int k = 0; k < count; ++k) {
        uint32_t c = text[k];
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < count && text[k + 1] >= 0xDC00 &&
            text[k + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[k + 1] - 0xDC00);
            ++k;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void TextOutW(DrawContext& dc, int32_t x, int32_t y, const char16_t* text, int count) {
    if (dc.pixels == nullptr || dc.font == nullptr || dc.font->face == nullptr || text == nullptr ||
        count <= 0) {
        return;
    }
    const std::string utf8 = Utf16ToUtf8(text, count);
    // The fourth byte of each word is not colour: draw as RGB24.
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(dc.pixels), CAIRO_FORMAT_RGB24, dc.width, dc.height,
        dc.width * 4);
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_set_font_face(cr, dc.font->face);
    // At drawing scale N the font is N times the size, its baseline placed
    // for that size.
    double emSize = dc.font->emSize;
    double ascent = dc.font->ascent;
    if (dc.scale > 1) {
        emSize *= dc.scale;
        ascent = std::round(dc.font->ascentPerEm * emSize);
    }
    cairo_set_font_size(cr, emSize);
    const uint32_t c = dc.textColour;
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
    cairo_move_to(cr, x, y + ascent);
    cairo_show_text(cr, utf8.c_str());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
}

}  // namespace mervox

namespace mervox {

int TextWidthW(const Font& font, const char16_t* text, int count) {
    if (font.face == nullptr || text == nullptr || count <= 0) return 0;
    const std::string utf8 = Utf16ToUtf8(text, count);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_set_font_face(cr, font.face);
    cairo_set_font_size(cr, font.emSize);
    cairo_text_extents_t e{};
    cairo_text_extents(cr, utf8.c_str(), &e);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return static_cast<int>(e.x_advance + 0.5);
}

}  // namespace mervox
