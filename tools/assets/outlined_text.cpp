#include "tools/assets/outlined_text.h"

#include <algorithm>

namespace mervox_assets {

namespace {

bool IsPlainAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

cairo_pattern_t* Gradient(double top, double bottom, const TextStyle& style) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgba(p, 0, style.top.r, style.top.g, style.top.b, style.top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, style.bottom.r, style.bottom.g, style.bottom.b,
                                      style.bottom.a);
    return p;
}

// Appends the outline of `text` to the path, squeezed by scaleX about x.
void TextPath(cairo_t* cr, const std::string& text, double x, double baseline, double scaleX) {
    cairo_save(cr);
    cairo_translate(cr, x, baseline);
    cairo_scale(cr, scaleX, 1);
    cairo_move_to(cr, 0, 0);
    cairo_text_path(cr, text.c_str());
    cairo_restore(cr);
}

void PaintPath(cairo_t* cr, cairo_path_t* path, double dx, double dy, double top, double bottom,
               const TextStyle& style) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double outer = 2 * style.outlineWidth + style.embolden;
    if (style.shadow > 0) {
        cairo_save(cr);
        cairo_translate(cr, dx + style.shadow, dy + style.shadow);
        cairo_new_path(cr);
        cairo_append_path(cr, path);
        cairo_restore(cr);
        SetColour(cr, style.shadowColour);
        cairo_set_line_width(cr, outer);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_restore(cr);
    if (style.outlineWidth > 0) {
        SetColour(cr, style.outline);
        cairo_set_line_width(cr, outer);
        cairo_stroke_preserve(cr);
    }
    cairo_pattern_t* fill = Gradient(top + dy, bottom + dy, style);
    cairo_set_source(cr, fill);
    if (style.embolden > 0) {
        cairo_set_line_width(cr, style.embolden);
        cairo_stroke_preserve(cr);
    }
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
}

}  // namespace

void SetColour(cairo_t* cr, const Rgba& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void DrawTextAt(cairo_t* cr, const FontFace& font, const std::string& text, double x, double baseline,
                double scaleX, const TextStyle& style) {
    UseFont(cr, font, style.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_new_path(cr);
    TextPath(cr, text, x, baseline, scaleX);
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    PaintPath(cr, path, 0, 0, baseline + ext.y_bearing, baseline + ext.y_bearing + ext.height, style);
    cairo_path_destroy(path);
    cairo_new_path(cr);
}

double InkWidth(cairo_t* cr, const FontFace& font, const std::string& text, const TextStyle& style) {
    UseFont(cr, font, style.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    return ext.width + 2 * style.outlineWidth + style.embolden;
}

void DrawTextInBox(cairo_t* cr, const FontFace& font, const std::string& text, const Box& box,
                   const TextStyle& style, Align align, double inset) {
    UseFont(cr, font, style.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    double capTop = ext.y_bearing;
    double capHeight = ext.height;
    if (IsPlainAscii(text)) {
        cairo_text_extents_t cap;
        cairo_text_extents(cr, "H", &cap);
        capTop = cap.y_bearing;
        capHeight = cap.height;
    }
    const double edge = style.outlineWidth + style.embolden / 2;
    const double room = box.w - 2 * inset - 2 * edge - style.shadow;
    const double scaleX =
        ext.width * style.widen > room && ext.width > 0 ? room / ext.width : style.widen;
    const double inkW = ext.width * scaleX;
    double inkLeft = 0;
    switch (align) {
        case Align::Left: inkLeft = box.x + inset + edge; break;
        case Align::Right: inkLeft = box.x + box.w - inset - edge - style.shadow - inkW; break;
        case Align::Centre: inkLeft = box.x + (box.w - style.shadow - inkW) / 2; break;
    }
    const double x = inkLeft - ext.x_bearing * scaleX;
    const double baseline = box.y + (box.h - style.shadow - capHeight) / 2 - capTop;

    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    cairo_clip(cr);
    cairo_new_path(cr);
    TextPath(cr, text, x, baseline, scaleX);
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    PaintPath(cr, path, 0, 0, baseline + capTop, baseline + capTop + capHeight, style);
    cairo_path_destroy(path);
    cairo_restore(cr);
}

void PaintShape(cairo_t* cr, double top, double bottom, const TextStyle& style) {
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    PaintPath(cr, path, 0, 0, top, bottom, style);
    cairo_path_destroy(path);
}

double TrackedWidth(cairo_t* cr, const FontFace& font, const std::string& text, double size,
                    double tracking) {
    UseFont(cr, font, size);
    double w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char s[2] = {text[i], 0};
        cairo_text_extents_t ext;
        cairo_text_extents(cr, s, &ext);
        w += ext.x_advance + (i + 1 < text.size() ? tracking : 0);
    }
    return w;
}

void DrawTracked(cairo_t* cr, const FontFace& font, const std::string& text, double x, double baseline,
                 double tracking, const TextStyle& style, double scaleX) {
    UseFont(cr, font, style.size);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);
    cairo_new_path(cr);
    double pen = x;
    for (char ch : text) {
        const char s[2] = {ch, 0};
        cairo_text_extents_t ext;
        cairo_text_extents(cr, s, &ext);
        if (ch != ' ') TextPath(cr, s, pen, baseline, scaleX);
        pen += (ext.x_advance + tracking) * scaleX;
    }
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    PaintPath(cr, path, 0, 0, baseline + cap.y_bearing, baseline + cap.y_bearing + cap.height, style);
    cairo_path_destroy(path);
}

double CapBaseline(cairo_t* cr, const FontFace& font, double size, double top, double height) {
    UseFont(cr, font, size);
    cairo_text_extents_t cap;
    cairo_text_extents(cr, "H", &cap);
    return top + (height - cap.height) / 2 - cap.y_bearing;
}

double SizeForDigitHeight(cairo_t* cr, const FontFace& font, double height) {
    UseFont(cr, font, 100);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, "0", &ext);
    return 100 * height / ext.height;
}

}  // namespace mervox_assets
