#include "app/soak/null_platform.h"

#include "platform/clock.h"

namespace mervox {

namespace {

NullPlatform& N(void* ctx) { return *static_cast<NullPlatform*>(ctx); }

void Connect(void* ctx, const PlatformEvents& events) {
    N(ctx).events = events;
    N(ctx).quitRequested = events.quitRequested;
}

uint32_t Clock(void* ctx) {
    NullPlatform& n = N(ctx);
    if (n.paced) n.clock = ClockMs();
    return n.clock;
}

void Pump(void* ctx, int milliseconds) {
    NullPlatform& n = N(ctx);
    if (n.paced) {
        const uint32_t until = ClockMs() + static_cast<uint32_t>(milliseconds > 0 ? milliseconds : 0);
        while (static_cast<int32_t>(ClockMs() - until) < 0) SleepOneTick();
        n.clock = ClockMs();
    } else {
        n.clock += milliseconds > 0 ? static_cast<uint32_t>(milliseconds) : 1u;
    }
    PlayerCommand command{};
    if (n.commandAt != nullptr && n.commandAt(n.scriptCtx, n.clock, command) && n.events.onCommand != nullptr)
        n.events.onCommand(n.events.ctx, command);
    if (n.closeAtMs != 0 && static_cast<int32_t>(n.clock - n.closeAtMs) >= 0 && n.quitRequested != nullptr)
        *n.quitRequested = 1;
}

bool KeyDown(void* ctx, HostKey key) {
    NullPlatform& n = N(ctx);
    const int k = static_cast<int>(key);
    if (k >= 0 && k < static_cast<int>(sizeof n.keyPolls / sizeof n.keyPolls[0])) n.keyPolls[k] += 1;
    return n.keyHeld != nullptr && n.keyHeld(n.scriptCtx, n.clock, key);
}

void Present(void* ctx, const uint32_t*) { N(ctx).framesPresented += 1; }

}  // namespace

ProgramPlatform NullPlatformHooks(NullPlatform& n) {
    ProgramPlatform s;
    s.ctx = &n;
    s.connect = Connect;
    s.clockMs = Clock;
    s.pumpMessagesFor = Pump;
    s.keyDown = KeyDown;
    s.presentFrame = Present;
    return s;
}

}  // namespace mervox
