#include "render/palette.h"

#include <algorithm>

#include "draw/text_drawing.h"

namespace mervox {

namespace {

uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

int Sat(int v) { return std::min(v, 250); }

}  // namespace

uint32_t ShadeBrushColour(int family, int shade) {
    const int a = 200 + 10 * shade;
    switch (family) {
        case 0: return Rgb(Sat(a - 50), Sat(a - 40), Sat(a));
        case 1: return Rgb(Sat(a), Sat(a - 20), Sat(a - 50));
        case 2: return Rgb(Sat(a), Sat(a - 100), Sat(a - 50));
        case 3: return Rgb(Sat(a - 70), Sat(a - 10), Sat(a - 50));
        default: return Rgb(Sat(a - 50), Sat(a - 50), Sat(a - 50));
    }
}

uint32_t ShadePenColour(int family, int shade) {
    const int d = 10 * shade;
    switch (family) {
        case 0: return Rgb(d + 100, d + 110, d + 150);
        case 1: return Rgb(d + 150, d + 130, d + 100);
        case 2: return Rgb(d + 150, d + 50, d + 100);
        case 3: return Rgb(d + 80, d + 140, d + 100);
        default: return Rgb(d + 100, d + 100, d + 100);
    }
}

int ShadePenWidth(int shade) { return shade / 2 + 1; }

void CreatePalette(Palette& p, const char* fontFile) {
    for (int s = 0; s < kShades; ++s) {
        for (int f = 0; f < kColourFamilies; ++f) p.ShadeBrushes[f][s] = MakeSolidBrush(ShadeBrushColour(f, s));
        for (int f = 0; f < kColourFamilies; ++f) {
            p.ShadePens[f][s] = MakeSolidPen(ShadePenWidth(s), ShadePenColour(f, s));
        }
    }
    const uint32_t dark[kColourFamilies] = {0x966E64, 0x466478, 0x5A288C, 0x5A8246, 0x505050};
    for (int f = 0; f < kColourFamilies; ++f) p.DarkBrushes[f] = MakeSolidBrush(dark[f]);
    for (int i = 0; i < kGreyShades; ++i) p.GreyBrushes[i] = MakeSolidBrush(Rgb(10 * i, 10 * i, 10 * i));
    p.WhiteBrush = MakeSolidBrush(0xFAFAFA);
    p.FixedPens[paint::kOutlinePen] = MakeSolidPen(1, 0x282828);
    p.FixedPens[paint::kNoPen] = MakeNullPen();
    p.FixedPens[paint::kGreyPen] = MakeSolidPen(1, 0x787878);
    p.FixedPens[paint::kLightGreyPen] = MakeSolidPen(1, 0xC8C8C8);
    p.FixedPens[paint::kPaleGreyPen] = MakeSolidPen(1, 0xDCDCDC);
    const std::string file = fontFile != nullptr && *fontFile != '\0' ? fontFile : kDefaultFontFile;
    p.CaptionFont = CreateGameFont(file, 18, 600);
    p.SmallFont = CreateGameFont(file, 16, 400);
    p.created = true;
}

void ReleasePalette(Palette& p) {
    ReleaseFont(p.CaptionFont);
    ReleaseFont(p.SmallFont);
    p.created = false;
}

}  // namespace mervox
