// Whether a window can be shown at all.
#pragma once

#include <string>

namespace mervox {

// Before SDL's video starts: false (with the reason) when neither an X
// display nor a Wayland display is named in the environment, because SDL
// would otherwise fall back to an invisible off-screen driver.
bool DisplayNamed(std::string& why);

// Starts SDL's video and events; false with SDL's reason when they cannot
// start. Every successful start is ended by StopVideo.
bool StartVideo(std::string& why);
void StopVideo();

// The desktop's size and the part of it windows may use (without the
// panels); 640x480 when the desktop cannot be asked.
struct DesktopArea {
    int width = 640;
    int height = 480;
    int usableWidth = 640;
    int usableHeight = 480;
};
DesktopArea QueryDesktop();

// After SDL's video started: false when the driver chosen cannot show a
// window (the off-screen and dummy drivers).
bool VideoDriverShowsWindows(std::string& why);

}  // namespace mervox
