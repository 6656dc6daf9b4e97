// The question asked at start: play full screen?
#pragma once

namespace mervox {

// Shows a Yes/No message box captioned "mervox". True for Yes; No, a
// closed box or a box that cannot be shown mean a window.
bool AskFullScreen();

}  // namespace mervox
