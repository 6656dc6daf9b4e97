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

// The entries the drawing picks by what they are for, rather than by a
// shade worked out from the scene.
namespace paint {

// Colour families of ShadeBrushes, ShadePens and DarkBrushes.
inline constexpr int kWarmYellow = 1;

// FixedPens, darkest first.
inline constexpr int kOutlinePen = 0;    // 0x282828: blocks, the player, the map's player mark
inline constexpr int kNoPen = 1;         // fills without an outline
inline constexpr int kGreyPen = 2;       // 0x787878: map cells, announced squares, the board's grid
inline constexpr int kLightGreyPen = 3;  // 0xC8C8C8: the grid under the board, the caption band
inline constexpr int kPaleGreyPen = 4;   // 0xDCDCDC: the floor tiles, marks on a darkening face

// GreyBrushes: grey n is 10 n in each channel.
inline constexpr int kMarkerGrey = 16;               // the map's player mark, the push arrows
inline constexpr int kBandGrey = 23;                 // the tutorial's caption band, the options panel
inline constexpr int kLightestGrey = kGreyShades - 1;  // as light as the white brush

// Shades of a family's ShadeBrushes picked by name.
inline constexpr int kMapCellShade = 1;    // a block on the board map
inline constexpr int kRingShade = 2;       // a vanishing block's ring
inline constexpr int kHighlightShade = 4;  // the options screen's chosen row

// The tutorial captions' text, 0x00BBGGRR.
inline constexpr uint32_t kCaptionText = 0x505050;

}  // namespace paint

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
