// A message about a file the game cannot use, shown over the desktop.
#pragma once

#include <string>

namespace mervox {

// Shows an error box with the caption and text (UTF-8) and waits until it
// is closed; false when no box could be shown.
bool ShowErrorMessageBox(const std::string& caption, const std::string& text);

}  // namespace mervox
