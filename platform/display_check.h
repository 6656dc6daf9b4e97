// Whether a window can be shown at all.
#pragma once

#include <string>

namespace mervox {

// Before SDL's video starts: false (with the reason) when neither an X
// display nor a Wayland display is named in the environment, because SDL
// would otherwise fall back to an invisible off-screen driver.
bool DisplayNamed(std::string& why);

// After SDL's video started: false when the driver chosen cannot show a
// window (the off-screen and dummy drivers).
bool VideoDriverShowsWindows(std::string& why);

}  // namespace mervox
