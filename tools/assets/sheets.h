// The sprite sheets and the icons, each written as a PNG file.
#pragma once

#include <string>

#include "tools/assets/font_face.h"

namespace mervox_assets {

// Each sheet at drawing scale N (1 to 4): the same drawing N times larger,
// every rectangle of the sheet layout N times its size.
bool WriteNumberSheet(const std::string& path, const FontFace& font, int scale = 1);
bool WriteTitleSheet(const std::string& path, const FontFace& font, int scale = 1);
bool WriteRankSheet(const std::string& path, const FontFace& font, int scale = 1);

// The sizes a desktop shows an application's icon at, each drawn on its
// own; the window's icon is the one of kWindowIconSize.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr int kWindowIconSize = 64;

// The icon drawn at `size` pixels square.
bool WriteIcon(const std::string& path, int size);

}  // namespace mervox_assets
