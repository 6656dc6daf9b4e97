// The simulation's version: a round's recording gives the same score under
// every build with the same version. It changes with any change that alters
// how a recording plays (the pinned recordings in data/recordings.pin show
// such a change), so a score board can play its verified rounds again.
#pragma once

namespace mervox {

inline constexpr const char* kSimulationVersion = "1";

}  // namespace mervox
