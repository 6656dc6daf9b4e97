#include "app/soak/null_platform.h"

#include "platform/clock.h"

namespace mervox {

uint32_t NullPlatformHooks::clockMs() const {
    if (n_.paced) n_.clock = ClockMs();
    return n_.clock;
}

void NullPlatformHooks::pumpMessagesFor(int milliseconds) const {
    NullPlatform& n = n_;
    if (n.paced) {
        const uint32_t until = ClockMs() + static_cast<uint32_t>(milliseconds > 0 ? milliseconds : 0);
        while (static_cast<int32_t>(ClockMs() - until) < 0) SleepOneTick();
        n.clock = ClockMs();
    } else {
        n.clock += milliseconds > 0 ? static_cast<uint32_t>(milliseconds) : 1u;
    }
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
