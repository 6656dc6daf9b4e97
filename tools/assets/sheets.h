// The sprite sheets and the window icon, each written as a PNG file.
#pragma once

#include <string>

#include "tools/assets/font_face.h"

namespace mervox_assets {

// Each sheet at drawing scale N (1 to 4): the same drawing N times larger,
// every rectangle of the sheet layout N times its size.
bool WriteNumberSheet(const std::string& path, const FontFace& font, int scale = 1);
bool WriteTitleSheet(const std::string& path, const FontFace& font, int scale = 1);
bool WriteRankSheet(const std::string& path, const FontFace& font, int scale = 1);
bool WriteWindowIcon(const std::string& path);

}  // namespace mervox_assets
