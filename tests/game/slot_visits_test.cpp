// The block passes visit only the slots they can change. Whatever the board
// holds, that must play exactly as visiting every slot in board order: same
// board, same bookkeeping, same effects, update for update.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/simulation.h"
#include "game/state/board.h"
#include "game/key_bits.h"
#include "support/effect_notes.h"
#include "support/lcg.h"
#include "support/scrambled_board.h"

namespace mervox::testing {
namespace {

struct Player {
    Lcg rng;
    int keys = 0;
    int next = 1;
    std::vector<int> effects;

    uint32_t Next() { return rng.Next(); }
};

// Everything the block passes write.
void ExpectSame(const GameState& a, const GameState& b, int mode, uint32_t seed, int update) {
    const auto where = ::testing::Message() << "mode " << mode << " seed " << seed << " update " << update;
    ASSERT_EQ(std::memcmp(a.Board, b.Board, sizeof a.Board), 0) << where;
    ASSERT_EQ(std::memcmp(a.RefillQueue, b.RefillQueue, sizeof a.RefillQueue), 0) << where;
    ASSERT_EQ(std::memcmp(a.ChainSlots, b.ChainSlots, sizeof a.ChainSlots), 0) << where;
    ASSERT_EQ(std::memcmp(a.GroupSizeTable, b.GroupSizeTable, sizeof a.GroupSizeTable), 0) << where;
    ASSERT_EQ(std::memcmp(a.ColourCounts, b.ColourCounts, sizeof a.ColourCounts), 0) << where;
    ASSERT_EQ(std::memcmp(a.BackgroundGrid, b.BackgroundGrid, sizeof a.BackgroundGrid), 0) << where;
    ASSERT_EQ(std::memcmp(a.EffectCooldown, b.EffectCooldown, sizeof a.EffectCooldown), 0) << where;
    ASSERT_EQ(a.MarkCounter, b.MarkCounter) << where;
    ASSERT_EQ(a.LastChainSlot, b.LastChainSlot) << where;
    ASSERT_EQ(a.BlockCount, b.BlockCount) << where;
    ASSERT_EQ(a.LevelQuota, b.LevelQuota) << where;
    ASSERT_EQ(a.BlocksCleared, b.BlocksCleared) << where;
    ASSERT_EQ(a.IdleTimer, b.IdleTimer) << where;
    ASSERT_EQ(a.Score, b.Score) << where;
    ASSERT_EQ(a.RandomState, b.RandomState) << where;
    ASSERT_EQ(a.PlayerY, b.PlayerY) << where;
}

TEST(SlotVisits, VisitingNeededSlotsPlaysAsVisitingEverySlot) {
    for (RunModeValue mode : kRoundModes) {
        for (uint32_t seed = 1; seed <= 4; ++seed) {
            auto a = std::make_unique<GameState>();
            StartRoundOutsideTitle(*a, mode, PlaybackOff);
            Player pa, pb;
            pa.rng.state = pb.rng.state = seed * 7919u + static_cast<uint32_t>(mode);
            const bool scrambled = seed % 2 == 0;
            if (scrambled) ScrambleBoard(*a, pa.rng);
            pb = pa;
            auto b = std::make_unique<GameState>();
            std::memcpy(static_cast<void*>(b.get()), a.get(), sizeof *a);

            const EffectNotes ha(pa.effects, true), hb(pb.effects, true);
            int update = 0;
            while (a->RunMode != RunTitle && update < 6000) {
                for (Player* p : {&pa, &pb}) {
                    if (update >= p->next) {
                        const uint32_t r = p->Next();
                        p->keys = static_cast<int>((r >> 8) & 0xff);
                        if ((r >> 4) % 8 != 0) p->keys &= ~(KeyTurnQ | KeyTurnE);
                        p->next = update + 1 + static_cast<int>((p->Next() >> 24) % 40);
                    }
                    if (scrambled && update % 400 == 399 && update < 4000)
                        ScrambleBoard(p == &pa ? *a : *b, p->rng);
                }
                UpdateRound(*a, ha, FrameHoldingBits(pa.keys), SlotVisits::Needed);
                UpdateRound(*b, hb, FrameHoldingBits(pb.keys), SlotVisits::Every);
                ++update;
                ExpectSame(*a, *b, mode, seed, update);
                if (::testing::Test::HasFatalFailure()) return;
                ASSERT_EQ(pa.effects, pb.effects) << "mode " << mode << " seed " << seed << " update " << update;
            }
        }
    }
}

}  // namespace
}  // namespace mervox::testing
