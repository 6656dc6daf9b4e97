#include "tools/assets/text_line.h"

#include <algorithm>

namespace mervox_assets {

void DrawRuns(cairo_t* cr, const FontFace& font, const std::vector<TextRun>& runs, const Box& box,
              double tracking, Align align, double inset) {
    if (runs.empty()) return;
    double total = 0;
    double edge = 0;
    double size = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        total += TrackedWidth(cr, font, runs[i].text, runs[i].style.size, tracking);
        if (i + 1 < runs.size()) total += tracking;
        edge = std::max(edge, runs[i].style.outlineWidth + runs[i].style.embolden / 2);
        size = std::max(size, runs[i].style.size);
    }
    const double room = box.w - 2 * inset - 2 * edge;
    const double scaleX = total > room ? room / total : 1.0;
    double x = 0;
    switch (align) {
        case Align::Left: x = box.x + inset + edge; break;
        case Align::Right: x = box.x + box.w - inset - edge - total * scaleX; break;
        case Align::Centre: x = box.x + (box.w - total * scaleX) / 2; break;
    }
    const double baseline = CapBaseline(cr, font, size, box.y, box.h);
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    cairo_clip(cr);
    for (const TextRun& run : runs) {
        DrawTracked(cr, font, run.text, x, baseline, tracking, run.style, scaleX);
        x += (TrackedWidth(cr, font, run.text, run.style.size, tracking) + tracking) * scaleX;
    }
    cairo_restore(cr);
}

}  // namespace mervox_assets
