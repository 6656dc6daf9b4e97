#include "tools/assets/sheet_style.h"

namespace mervox_assets {

Canvas NewCanvas(int width, int height, int scale) {
    Canvas c;
    c.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale);
    c.cr = cairo_create(c.surface);
    cairo_set_operator(c.cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(c.cr);
    cairo_set_operator(c.cr, CAIRO_OPERATOR_OVER);
    cairo_set_antialias(c.cr, CAIRO_ANTIALIAS_GRAY);
    if (scale > 1) cairo_scale(c.cr, scale, scale);
    return c;
}

bool SaveCanvas(Canvas& canvas, const std::string& path) {
    cairo_surface_flush(canvas.surface);
    const bool ok = cairo_surface_write_to_png(canvas.surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(canvas.cr);
    cairo_surface_destroy(canvas.surface);
    canvas = Canvas{};
    return ok;
}

}  // namespace mervox_assets
