#include "app/common/frame_pacing.h"

namespace mervox {

void CountPass(FrameRateMeter& m, GameState& g, uint32_t now) {
    if (!m.started) {
        m.started = true;
        m.windowStart = now;
    }
    if (now - m.windowStart >= 1000u) {
        m.windowStart = now;
        const uint32_t skip = g.FrameSkip > 0 ? static_cast<uint32_t>(g.FrameSkip) : 1u;
        g.FramesPerSecond = m.count / skip;
        m.count = 0;
    }
    m.count += 1;
}

}  // namespace mervox
