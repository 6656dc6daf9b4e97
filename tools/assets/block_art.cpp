#include "tools/assets/block_art.h"

namespace mervox_assets {

namespace {

Rgba Shade(Rgba c, double f) { return Rgba{c.r * f, c.g * f, c.b * f, c.a}; }
Rgba Tint(Rgba c, double f) {
    return Rgba{c.r + (1 - c.r) * f, c.g + (1 - c.g) * f, c.b + (1 - c.b) * f, c.a};
}

void FillOutlined(cairo_t* cr, Rgba fill, double outline) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.06, 0.08, 0.22, 1);
    cairo_set_line_width(cr, outline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

}  // namespace

void DrawCube(cairo_t* cr, double cx, double top, double size, Rgba colour, double outline) {
    const double half = size / 2;
    const double depth = size * 0.45;  // the top face seen at a slant
    const double inset = size * 0.12;  // the far edge looks narrower
    const double front = size * 0.62;
    // Top face: a trapezoid narrowing to the back.
    cairo_new_path(cr);
    cairo_move_to(cr, cx - half + inset, top);
    cairo_line_to(cr, cx + half - inset, top);
    cairo_line_to(cr, cx + half, top + depth);
    cairo_line_to(cr, cx - half, top + depth);
    cairo_close_path(cr);
    FillOutlined(cr, Tint(colour, 0.25), outline);
    // Front face.
    cairo_rectangle(cr, cx - half, top + depth, size, front);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top + depth, 0, top + depth + front);
    const Rgba a = colour, b = Shade(colour, 0.62);
    cairo_pattern_add_color_stop_rgba(p, 0, a.r, a.g, a.b, a.a);
    cairo_pattern_add_color_stop_rgba(p, 1, b.r, b.g, b.b, b.a);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.06, 0.08, 0.22, 1);
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
    // A highlight along the top edge of the front face.
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, outline * 0.6);
    cairo_move_to(cr, cx - half + outline, top + depth + outline * 0.9);
    cairo_line_to(cr, cx + half - outline, top + depth + outline * 0.9);
    cairo_stroke(cr);
}

}  // namespace mervox_assets
