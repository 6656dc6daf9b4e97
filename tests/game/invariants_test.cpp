// Long rounds of erratic key changes in every mode: whatever the player does,
// the board stays well formed and the round always ends.
#include <gtest/gtest.h>

#include <memory>

#include "game/key_bits.h"
#include "game/simulation.h"

namespace mervox::testing {
namespace {

struct Erratic {
    uint32_t seed;
    int keys = 0;
    int next = 1;
};

bool ErraticKey(void* ctx, HostKey key) { return KeyBitsHold(static_cast<Erratic*>(ctx)->keys, key); }

void CheckWellFormed(const GameState& g, int update) {
    ASSERT_GE(g.PlayerX, 16.0f) << update;
    ASSERT_LE(g.PlayerX, 684.0f) << update;
    ASSERT_GE(g.PlayerZ, 16.0f) << update;
    ASSERT_LE(g.PlayerZ, 684.0f) << update;
    ASSERT_GE(g.PlayerY, 0.0f) << update;
    ASSERT_LE(g.PlayerY, 400.0f + 126.5f) << update;  // a landing block at 300, then a jump
    ASSERT_GE(g.ViewAngle, -45.0f) << update;
    ASSERT_LE(g.ViewAngle, 45.0f) << update;
    bool gap = false;
    for (int q : g.RefillQueue) {
        ASSERT_GE(q, -1);
        ASSERT_LT(q, 5);
        if (q == -1) gap = true;
        else ASSERT_FALSE(gap) << "the refill queue stays packed at the front";
    }
    for (const ChainSlot& c : g.ChainSlots) {
        ASSERT_GE(c.timer, 0);
        ASSERT_LE(c.timer, 120);
    }
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& s = g.Board[i][j][l];
                ASSERT_GE(s.state, Empty);
                ASSERT_LE(s.state, Fading);
                if (s.state == Empty) continue;
                ASSERT_GE(s.colour, 0);
                ASSERT_LT(s.colour, g.ColourCount) << "colours come from the colours in play";
                ASSERT_LE(s.offsetX, 96.0f);
                ASSERT_GE(s.offsetX, -96.0f);
                ASSERT_LE(s.offsetZ, 96.0f);
                ASSERT_GE(s.offsetZ, -96.0f);
                ASSERT_GE(s.height, -240.0f);
                ASSERT_LE(s.height, 700.0f);
                ASSERT_GE(s.chainSlot, -1);
                ASSERT_LT(s.chainSlot, kChainSlotCount);
                ASSERT_GE(s.arriveTimer, 0);
                ASSERT_LE(s.arriveTimer, 60);
                ASSERT_LE(s.vanishTimer, 181);
            }
}

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
                CheckWellFormed(*g, update);
                if (::testing::Test::HasFatalFailure()) return;
            }
            EXPECT_EQ(g->RunMode, RunTitle) << "mode " << mode << " seed " << seed;
        }
    }
}

}  // namespace
}  // namespace mervox::testing
