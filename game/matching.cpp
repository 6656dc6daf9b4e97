#include "game/matching.h"

#include <algorithm>

#include "game/effects.h"
#include "game/state/board.h"

namespace mervox {

namespace {

constexpr int kVanishSentinel = 181;
constexpr int kVanishLength = 180;
constexpr int kFadeLength = 10;
constexpr int kRefillDelay = 120;
constexpr int kChainLife = 120;
constexpr int kPopupTime = 30;

// A settled solid neighbour of a vanishing block is drawn into its chain.
void DrawIntoChain(GameState& g, const RoundHost& host, BlockSlot& s, BlockSlot& n) {
    n.state = Vanishing;
    n.vanishTimer = kVanishSentinel;
    n.refillTimer = kRefillDelay;
    g.IdleTimer = 0;

    if (s.vanishTimer == kVanishSentinel) {
        // The seed joined in this update: the neighbour joins the same link.
        n.chainLevel = s.chainLevel;
        n.chainSlot = s.chainSlot;
        if (s.chainSlot >= 0 && s.chainSlot < kChainSlotCount) g.ChainSlots[s.chainSlot].count += 1;
    } else {
        // A new link one level higher.
        n.chainLevel = s.chainLevel + 1;
        RestartEffect(g, host, std::min(s.chainLevel + 8, static_cast<int>(EffectVan5)));
        int k = TakeChainSlot(g);
        g.ChainSlots[k].chain = n.chainLevel;
        g.ChainSlots[k].count = 1;
        g.ChainSlots[k].timer = kChainLife;
        s.chainSlot = k;
        n.chainSlot = k;
    }
    n.popupSize = (n.chainLevel + 8) * 3;
    n.popupTimer = kPopupTime;
    s.vanishTimer = std::min(s.vanishTimer + 60, kVanishLength);
}

}  // namespace

int& GroupTotal(GameState& g, int mark) {
    static int outside = 0;
    if (mark < 0 || mark >= kGroupTableSize) {
        outside = 0;
        return outside;
    }
    return g.GroupSizeTable[mark];
}

void ClearGroupMarks(GameState& g) {
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& slot : cell) {
                slot.groupSize = 0;
                slot.groupMark = 0;
            }
    for (int& entry : g.GroupSizeTable) entry = 0;
    g.MarkCounter = 0;
}

int FloodGroup(GameState& g, const RoundHost& host, int i, int j, int layer, int count,
               int mark, bool includeArriving) {
    BlockSlot& seed = g.Board[i][j][layer];
    if (seed.state == Fading) return count;
    if (IsArriving(seed) && !includeArriving) return count;
    if (!IsSettled(seed, layer)) return count;
    if (mark == 0) return count;

    // Neighbours in this order: x - 1, x + 1, z - 1, z + 1, below, above.
    static constexpr int kSteps[6][3] = {
        {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1},
    };
    for (const auto& step : kSteps) {
        const int ni = i + step[0], nj = j + step[1], nl = layer + step[2];
        if (!InBoard(ni, nj, nl)) continue;
        BlockSlot& n = g.Board[ni][nj][nl];
        if (n.colour != seed.colour) continue;
        if (!IsOccupied(n)) continue;
        if (IsArriving(n) && !includeArriving) continue;
        if (n.groupMark == mark) continue;
        if (seed.state == Solid && n.state == Vanishing) continue;
        if (!IsSettled(n, nl)) continue;

        count += 1;
        if (n.state == Solid && seed.state == Vanishing) DrawIntoChain(g, host, seed, n);
        seed.groupMark = mark;
        n.groupMark = mark;
        if (IsOccupied(n)) count = FloodGroup(g, host, ni, nj, nl, count, mark, includeArriving);
        n.groupSize = count;
    }
    return count;
}

void GroupSlot(GameState& g, const RoundHost& host, int i, int j, int layer) {
    BlockSlot& s = g.Board[i][j][layer];
    if (s.groupSize == 0 && IsOccupied(s) && !IsArriving(s)) {
        g.MarkCounter += 1;
        s.groupMark = g.MarkCounter;
        s.groupSize = FloodGroup(g, host, i, j, layer, 1, s.groupMark, false);
    }
    int& recorded = GroupTotal(g, s.groupMark);
    if (recorded < s.groupSize) {
        recorded = s.groupSize;
    } else {
        s.groupSize = recorded;
    }
}

void UpdateVanishing(GameState& g, const RoundHost& host) {
    for (int i = 0; i < kBoardSize; ++i) {
        for (int j = 0; j < kBoardSize; ++j) {
            for (int layer = 0; layer < kLayers; ++layer) {
                BlockSlot& s = g.Board[i][j][layer];

                // Start: a settled solid block of a group of three or more.
                const int groupTotal = GroupTotal(g, s.groupMark);
                if (groupTotal >= 3 && s.groupMark > 0 && s.state == Solid && IsSettled(s, layer)) {
                    g.IdleTimer = 0;
                    s.vanishTimer = kVanishSentinel;
                    s.state = Vanishing;
                    s.refillTimer = kRefillDelay;
                    if (s.chainLevel == 0) {
                        // The first block of its group: open the level-1 link.
                        PlayEffect(g, host, EffectVan1);
                        s.chainLevel = 1;
                        int k = TakeChainSlot(g);
                        g.ChainSlots[k] = ChainSlot{1, groupTotal, kChainLife, s.groupMark};
                        s.chainSlot = k;
                        s.popupSize = 24;
                        s.popupTimer = kPopupTime;
                        for (auto& column : g.Board)
                            for (auto& cell : column)
                                for (auto& other : cell) {
                                    if (&other == &s) continue;
                                    if (other.groupMark == s.groupMark && other.state == Solid) {
                                        other.chainLevel = 1;
                                        other.chainSlot = k;
                                        other.popupSize = 24;
                                        other.popupTimer = kPopupTime;
                                    }
                                }
                    }
                }

                if (s.state == Vanishing) {
                    if (s.vanishTimer == kVanishSentinel) {
                        s.vanishTimer = kVanishLength;
                        g.LevelQuota -= 1;
                    }
                    s.vanishTimer -= 1;
                    if (s.vanishTimer <= 0) {
                        g.BlocksCleared += 1;
                        s.state = Fading;
                        s.vanishTimer = kFadeLength;
                    }
                } else if (s.state == Fading) {
                    s.vanishTimer -= 1;
                    if (s.vanishTimer <= 0) {
                        s.state = Empty;
                        s.groupMark = 0;
                        s.vanishTimer = 0;
                        s.arriveTimer = 0;
                    }
                }

                if (s.popupSize > 0) s.popupSize -= 1;
                if (s.popupTimer > 0) s.popupTimer -= 1;
            }
        }
    }
}

}  // namespace mervox
