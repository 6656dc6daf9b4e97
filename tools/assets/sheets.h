// The sprite sheets and the window icon, each written as a PNG file.
#pragma once

#include <string>

#include "tools/assets/font_face.h"

namespace mervox_assets {

bool WriteNumberSheet(const std::string& path, const FontFace& font);
bool WriteTitleSheet(const std::string& path, const FontFace& font);
bool WriteRankSheet(const std::string& path, const FontFace& font);
bool WriteWindowIcon(const std::string& path);

}  // namespace mervox_assets
