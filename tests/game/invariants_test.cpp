// Long rounds of erratic key changes in every mode: whatever the player does,
// the board stays well formed and the round always ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/round_invariants.h"
#include "game/simulation.h"
#include "game/key_bits.h"
#include "support/lcg.h"

namespace mervox::testing {
namespace {

struct Erratic {
    Lcg rng;
    int keys = 0;
    int next = 1;
};

TEST(RoundInvariants, ErraticPlayKeepsTheBoardWellFormed) {
    for (RunModeValue mode : kRoundModes) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            auto g = std::make_unique<GameState>();
            StartRoundOutsideTitle(*g, mode, PlaybackOff);
            Erratic player{{seed * 7919u + static_cast<uint32_t>(mode)}};
            const RoundHost host;
            int update = 0;
            while (g->RunMode != RunTitle && update < 40000) {
                if (update >= player.next) {
                    const uint32_t r = player.rng.Next();
                    player.keys = static_cast<int>((r >> 8) & 0xff);
                    if ((r >> 20) % 3 == 0) player.keys &= kArrowBits;
                    player.next = update + 1 + static_cast<int>((r >> 24) % 30);
                }
                UpdateRound(*g, host, FrameHoldingBits(player.keys));
                ++update;
                const std::string fault = FindRoundFault(*g);
                ASSERT_EQ(fault, "") << "mode " << mode << " seed " << seed << " update " << update;
            }
            EXPECT_EQ(g->RunMode, RunTitle) << "mode " << mode << " seed " << seed;
        }
    }
}

}  // namespace
}  // namespace mervox::testing
