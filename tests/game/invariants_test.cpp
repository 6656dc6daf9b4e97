// Long rounds of erratic key changes in every mode: whatever the player does,
// the board stays well formed and the round always ends.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "game/key_bits.h"
#include "game/round_invariants.h"
#include "game/simulation.h"

namespace mervox::testing {
namespace {

struct Erratic {
    uint32_t seed;
    int keys = 0;
    int next = 1;
};

bool ErraticKey(void* ctx, HostKey key) { return KeyBitsHold(static_cast<Erratic*>(ctx)->keys, key); }

TEST(RoundInvariants, ErraticPlayKeepsTheBoardWellFormed) {
    for (int mode = RunGame; mode <= kLastRunMode; ++mode) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            auto g = std::make_unique<GameState>();
            StartRoundOutsideTitle(*g, mode, 0);
            Erratic player{seed * 7919u + static_cast<uint32_t>(mode)};
            RoundHost host;
            host.ctx = &player;
            host.keyDown = ErraticKey;
            int update = 0;
            while (g->RunMode != RunTitle && update < 40000) {
                if (update >= player.next) {
                    player.seed = player.seed * 1664525u + 1013904223u;
                    player.keys = static_cast<int>((player.seed >> 8) & 0xff);
                    if ((player.seed >> 20) % 3 == 0) player.keys &= kArrowBits;
                    player.next = update + 1 + static_cast<int>((player.seed >> 24) % 30);
                }
                UpdateRound(*g, host);
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
