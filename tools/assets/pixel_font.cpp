#include "tools/assets/pixel_font.h"

#include <cstring>

namespace mervox_assets {

namespace {

struct Glyph {
    char ch;
    const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
};

const Glyph* Find(char ch) {
    for (const Glyph& g : kGlyphs)
        if (g.ch == ch) return &g;
    return nullptr;
}

bool Lit(const Glyph& g, int col, int row) {
    return row >= 0 && row < 7 && col >= 0 && col < 5 && g.rows[row][col] == '#';
}

}  // namespace

void DrawPixelChar(cairo_t* cr, char ch, int x, int y) {
    const Glyph* g = Find(ch);
    if (!g) return;
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    // Outline: every unlit pixel touching a lit one (eight neighbours).
    cairo_set_source_rgba(cr, 0.06, 0.08, 0.22, 1);
    for (int row = -1; row <= 7; ++row)
        for (int col = -1; col <= 5; ++col) {
            if (Lit(*g, col, row)) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Lit(*g, col + dx, row + dy);
            if (near) cairo_rectangle(cr, x + col, y + row, 1, 1);
        }
    cairo_fill(cr);
    // Fill: white at the top fading to pale gold at the foot.
    for (int row = 0; row < 7; ++row) {
        const double t = row / 6.0;
        cairo_set_source_rgba(cr, 1.0, 1.0 - 0.12 * t, 1.0 - 0.55 * t, 1);
        for (int col = 0; col < 5; ++col)
            if (Lit(*g, col, row)) cairo_rectangle(cr, x + col, y + row, 1, 1);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

}  // namespace mervox_assets
