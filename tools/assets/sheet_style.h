// The look shared by the three sprite sheets and the window icon: one dark
// navy outline for everything, warm gradients for figures and banners, cool
// ones for captions, yellow for the names of keys.
#pragma once

#include <cairo.h>
#include <string>

#include "render/sheet_layout.h"
#include "tools/assets/outlined_text.h"

namespace mervox_assets {

namespace sheet = mervox::sheet;

// The box of a picture's rectangle on its sheet.
inline Box BoxOf(const mervox::SheetRect& r) { return Box{double(r.x), double(r.y), double(r.w), double(r.h)}; }

inline constexpr Rgba kNavy{0.06, 0.08, 0.22};
inline constexpr Rgba kWhite{1, 1, 1};
inline constexpr Rgba kIce{0.70, 0.90, 1.00};
inline constexpr Rgba kSky{0.35, 0.70, 1.00};
inline constexpr Rgba kCream{1.00, 1.00, 0.86};
inline constexpr Rgba kGold{1.00, 0.80, 0.20};
inline constexpr Rgba kAmber{1.00, 0.55, 0.10};
inline constexpr Rgba kLemon{1.00, 0.97, 0.45};
inline constexpr Rgba kRose{1.00, 0.55, 0.60};
inline constexpr Rgba kRed{0.90, 0.15, 0.20};
inline constexpr Rgba kMint{0.70, 1.00, 0.70};
inline constexpr Rgba kGreen{0.20, 0.80, 0.35};

// Captions: cool white-to-sky letters (the blue foot keeps them apart from
// a white fade).
inline TextStyle CaptionStyle(double size) {
    TextStyle s;
    s.size = size;
    s.top = kWhite;
    s.bottom = Rgba{0.52, 0.78, 1.00};
    s.outlineWidth = size >= 16 ? 2.0 : 1.5;
    s.embolden = size >= 16 ? 1.2 : 0.8;
    return s;
}

// Names of keys inside captions.
inline TextStyle KeyStyle(double size) {
    TextStyle s = CaptionStyle(size);
    s.top = kLemon;
    s.bottom = kAmber;
    return s;
}

// Figures of the digit strips: cream to gold.
inline TextStyle DigitStyle(double size, double outline) {
    TextStyle s;
    s.size = size;
    s.top = kWhite;
    s.bottom = kGold;
    s.outlineWidth = outline;
    s.embolden = outline * 0.7;
    return s;
}

// Big banners: heavy outline and a shadow.
inline TextStyle BannerStyle(double size, Rgba top, Rgba bottom) {
    TextStyle s;
    s.size = size;
    s.top = top;
    s.bottom = bottom;
    s.outlineWidth = 3.0;
    s.embolden = 2.0;
    s.shadow = 3.0;
    return s;
}

// A transparent ARGB canvas and its context.
struct Canvas {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};
// At `scale` N the canvas is N times larger and drawn in the units of the
// original sheet: drawn art is drawn again at the larger size, and whole
// pixels (the pixel font) become N x N blocks.
Canvas NewCanvas(int width, int height, int scale = 1);
// Writes the canvas as an RGBA PNG and releases it. False on a write error.
bool SaveCanvas(Canvas& canvas, const std::string& path);

// Restricts drawing to a sheet rectangle until the matching cairo_restore.
inline void ClipTo(cairo_t* cr, double x, double y, double w, double h) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
}

}  // namespace mervox_assets
