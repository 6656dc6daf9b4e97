#include "game/supply.h"

#include "game/effects.h"
#include "game/game_random.h"
#include "game/matching.h"
#include "game/state/board.h"

namespace mervox {

namespace {

constexpr int kArrivalTime = 60;
constexpr int kPlacementAttempts = 50;
constexpr int kIdleLimit = 600;

int RandomBelow(GameState& g, int range) {
    return static_cast<int>(static_cast<float>(GameRand(g)) / 32768.0f * static_cast<float>(range));
}

// A fresh block; a chain pop-up still counting down over the slot goes on.
void FillFresh(BlockSlot& s, int colour, float height) {
    BlockSlot fresh{};
    fresh.state = Solid;
    fresh.colour = colour;
    fresh.height = height;
    fresh.popupSize = s.popupSize;
    fresh.popupTimer = s.popupTimer;
    s = fresh;
}

// Tries the fresh block in the slot: true when it stays (announced), false
// when it would complete a group and was taken out again.
bool TryPlace(GameState& g, const RoundHost& host, int i, int j, int layer, int colour,
              bool lastAttempt, float announcedHeight) {
    BlockSlot& s = g.Board[i][j][layer];
    FillFresh(s, colour, RestHeight(layer));
    ClearGroupMarks(g);
    g.MarkCounter += 1;
    const int size = FloodGroup(g, host, i, j, layer, 1, g.MarkCounter, true);
    g.MarkCounter -= 1;
    if (size > 2 && !lastAttempt) {
        VacateSlot(s);
        return false;
    }
    s.height = announcedHeight;
    s.arriveTimer = kArrivalTime;
    return true;
}

}  // namespace

void SupplyBlock(GameState& g, const RoundHost& host, int start, int colour) {
    const int range = 7 - 2 * start;
    int i, j;
    if (g.IdleTimer == kIdleLimit) {
        i = CellIndex(g.PlayerX);
        j = CellIndex(g.PlayerZ);
    } else {
        const bool room = start == 0
            ? static_cast<double>(g.BlockCount) < 1.5 * g.BlockCap + 2
            : g.BlockCount < g.BlockCap + 2;
        if (!room) return;
        i = static_cast<int>(static_cast<float>(GameRand(g)) / 32768.0f * static_cast<float>(range) +
                             static_cast<float>(start));
        j = static_cast<int>(static_cast<float>(GameRand(g)) / 32768.0f * static_cast<float>(range) +
                             static_cast<float>(start));
    }

    for (int attempt = 1;; ++attempt) {
        if (!InBoard(i, j)) return;  // the player's cell is always inside; guard all the same
        const bool last = attempt >= kPlacementAttempts;
        BlockSlot& a = g.Board[i][j][0];
        BlockSlot& b = g.Board[i][j][1];
        if (a.state == Solid && b.state == Empty) {
            if (TryPlace(g, host, i, j, 1, colour, last, 700.0f)) return;
        } else if (a.state == Empty) {
            if (TryPlace(g, host, i, j, 0, colour, last, -240.0f)) return;
        }

        i += 1;
        if (i > 6 - start) {
            i = start;
            j += 1;
            if (j > 6 - start) j = start;
        }
        if (i < 1 || g.QuitRequested != 0 || last) return;
    }
}

void ArriveSlot(GameState& g, const RoundHost& host, int i, int j, int layer) {
    BlockSlot& s = g.Board[i][j][layer];
    if (s.arriveTimer == 0) return;
    s.arriveTimer -= 1;
    s.groupMark = 0;
    if (s.arriveTimer > 0) {
        s.state = Solid;
        s.height = -150.0f;
        return;
    }
    WriteArrivalEffect(g, host);
    if (layer == 1 && CellIndex(g.PlayerX) == i && CellIndex(g.PlayerZ) == j) {
        // The new block slides in under the block the player stands on.
        BlockSlot& floor = g.Board[i][j][0];
        BlockSlot arrived = s;
        s = floor;
        floor = arrived;
        s.height = 0.0f;
        floor.height = -100.0f;
        floor.state = Solid;
        floor.vanishTimer = 0;
    } else {
        s.state = Solid;
        s.vanishTimer = 0;
        s.height = static_cast<float>(layer * 400 - 100);
    }
}

void IdleSupply(GameState& g, const RoundHost& host) {
    if (g.IdleTimer != kIdleLimit) return;
    const int colour = RandomBelow(g, g.ColourCount);
    SupplyBlock(g, host, 0, colour);
    g.IdleTimer = 0;
}

void RefillSupply(GameState& g, const RoundHost& host) {
    if (g.RefillQueue[0] < 0) return;
    SupplyBlock(g, host, 0, g.RefillQueue[0]);
    for (int k = 0; k + 1 < kRefillQueueLength; ++k) g.RefillQueue[k] = g.RefillQueue[k + 1];
    g.RefillQueue[kRefillQueueLength - 1] = -1;
}

void TimedSupply(GameState& g, const RoundHost& host) {
    if (g.RunMode != RunTutorial) g.SupplyCountdown -= 1;
    if (g.SupplyCountdown != 0) return;
    g.SupplyCountdown = g.SupplyInterval;
    if (g.BlockCount < g.BlockCap) {
        ClearGroupMarks(g);
        const int colour = RandomBelow(g, g.ColourCount);
        SupplyBlock(g, host, 1, colour);
    }
}

void CountBlocks(GameState& g) {
    g.BlockCount = 0;
    for (int& c : g.ColourCounts) c = 0;
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& s : cell) {
                if (s.state == Solid || s.state == Vanishing) {
                    g.BlockCount += 1;
                    if (s.colour >= 0 && s.colour < 5) g.ColourCounts[s.colour] += 1;
                }
            }
}

void ReplaceVanishedBlocks(GameState& g, const RoundHost& host, int firstSlot) {
    for (int index = firstSlot < 0 ? 0 : firstSlot; index < kSlotCount; ++index) {
        BlockSlot& s = SlotOf(g, index);
        if (s.refillTimer <= 0) continue;
        s.refillTimer -= 1;
        if (s.refillTimer != 0) continue;
        PlayEffect(g, host, EffectPrep);
        const bool largeGroup = GroupTotal(g, s.groupMark) > 3;
        ClearGroupMarks(g);
        const int next = g.ColourCount > 0 ? (s.colour + 1) % g.ColourCount : 0;
        SupplyBlock(g, host, largeGroup ? 0 : 1, next);
        g.BlockCount += 1;
    }
}

}  // namespace mervox
