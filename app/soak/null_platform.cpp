#include "app/soak/null_platform.h"

namespace mervox {

void NullPlatformHooks::pumpMessagesFor(int milliseconds) const {
    NullPlatform& n = n_;
    n.clock += milliseconds > 0 ? static_cast<uint32_t>(milliseconds) : 1u;
    PlayerCommand command{};
    if (n.commandAt && n.commandAt(n.clock, command) && n.events.listener != nullptr)
        n.events.listener->command(command);
    if (n.closeAtMs != 0 && static_cast<int32_t>(n.clock - n.closeAtMs) >= 0 && n.events.quitRequested != nullptr)
        *n.events.quitRequested = 1;
}

ActionFrame NullPlatformHooks::sampleInput() const {
    n_.samples += 1;
    return n_.keys ? ActionFrameOf(n_.keys(n_.clock)) : ActionFrame{};
}

}  // namespace mervox
