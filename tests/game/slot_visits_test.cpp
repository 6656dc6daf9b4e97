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

// A busy board of the kind the grouping pass hands out groups of one in
// runs (GroupLoneRun): rows of blocks no neighbour matches, a stacked layer, a kicked block,
// a lone vanishing block with its pop-up, and blocks landing between the
// lone ones. One of them lands under the player, which puts its colour next
// to a lone block later in board order in the same update; another lands
// beside a lone block of its colour. Both ways must play alike throughout.
TEST(SlotVisits, LoneBlocksAndLandingsBetweenThemPlayAsVisitingEverySlot) {
    auto a = std::make_unique<GameState>();
    StartRoundOutsideTitle(*a, RunGame, PlaybackOff);
    GameState& g = *a;
    g.ReadyCountdown = 0;
    g.ColourCount = 5;
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                BlockSlot& s = g.Board[i][j][l];
                s = BlockSlot{};
                s.height = static_cast<float>(l * 100);
                if (l == 1 && (i + j) % 3 != 0) continue;
                if ((i * 7 + j) % 4 == 3) continue;  // room for the player and for landings
                s.state = Solid;
                s.colour = (i * 3 + j * 2 + l) % 5;
            }
    g.Board[6][5][0].slideX = -8.0f;
    g.Board[6][5][0].offsetX = 40.0f;
    BlockSlot& dying = g.Board[1][1][0];
    dying.state = Vanishing;
    dying.vanishTimer = 50;
    dying.chainLevel = 1;
    dying.popupSize = 20;
    dying.popupTimer = 10;

    // The player on the floor block at (3, 3); a block of another colour
    // lands on top and is slid under it, next to the block at (3, 4).
    g.Board[3][3][0] = BlockSlot{};
    g.Board[3][3][0].state = Solid;
    g.Board[3][3][0].colour = 0;
    g.PlayerX = 350.0f;
    g.PlayerZ = 350.0f;
    g.PlayerY = 100.0f;
    BlockSlot& onTop = g.Board[3][3][1];
    onTop = BlockSlot{};
    onTop.state = Solid;
    onTop.colour = g.Board[3][4][0].colour;
    onTop.arriveTimer = 1;
    onTop.height = 300.0f;
    // Into the gap at (0, 3), beside the block at (0, 2) of its colour.
    BlockSlot& beside = g.Board[0][3][0];
    beside = BlockSlot{};
    beside.state = Solid;
    beside.colour = g.Board[0][2][0].colour;
    beside.arriveTimer = 3;
    beside.height = -150.0f;

    auto b = std::make_unique<GameState>();
    std::memcpy(static_cast<void*>(b.get()), a.get(), sizeof *a);
    std::vector<int> ea, eb;
    const EffectNotes ha(ea, true), hb(eb, true);
    for (int update = 1; update <= 400; ++update) {
        UpdateRound(*a, ha, InputFrame{}, SlotVisits::Needed);
        UpdateRound(*b, hb, InputFrame{}, SlotVisits::Every);
        ExpectSame(*a, *b, RunGame, 0, update);
        if (::testing::Test::HasFatalFailure()) return;
        ASSERT_EQ(ea, eb) << "update " << update;
        if (update == 1) {
            // The landing went as laid out: the new block under the player.
            ASSERT_EQ(a->Board[3][3][1].colour, 0);
            ASSERT_EQ(a->Board[3][3][0].colour, a->Board[3][4][0].colour);
        }
    }
}

}  // namespace
}  // namespace mervox::testing
