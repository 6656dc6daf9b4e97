// The shading palette: every brush, pen and font the scene is drawn with,
// made once at start and released once at shutdown. Depth, height and
// state are shown by picking entries of these tables.
#pragma once

#include "draw/draw_objects.h"

namespace mervox {

constexpr int kColourFamilies = 5;  // 0 blue, 1 warm yellow, 2 pink, 3 green, 4 grey
constexpr int kShades = 10;
constexpr int kGreyShades = 26;
constexpr int kFixedPens = 5;

struct Palette {
    Brush ShadeBrushes[kColourFamilies][kShades];
    Pen ShadePens[kColourFamilies][kShades];
    Brush DarkBrushes[kColourFamilies];
    Brush GreyBrushes[kGreyShades];
    Brush WhiteBrush;
    Pen FixedPens[kFixedPens];
    Font CaptionFont;  // tutorial captions: cell 18, weight 600
    Font SmallFont;    // the viewer's overlay: cell 16, weight 400
    bool created = false;
};

// Colours of the tables, 0x00BBGGRR.
uint32_t ShadeBrushColour(int family, int shade);
uint32_t ShadePenColour(int family, int shade);
int ShadePenWidth(int shade);

// Fills every table; the fonts come from `fontFile` (the default gothic
// face when empty).
void CreatePalette(Palette& p, const char* fontFile = nullptr);
// Releases the fonts and marks the palette as gone; safe to call twice.
void ReleasePalette(Palette& p);

}  // namespace mervox
