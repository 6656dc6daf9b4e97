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
        g.ChainSlots[k].timer = kChainLinkLife;
        s.chainSlot = k;
        n.chainSlot = k;
    }
    n.popupSize = (n.chainLevel + 8) * 3;
    n.popupTimer = kPopupTime;
    s.vanishTimer = std::min(s.vanishTimer + 60, kVanishLength);
}

}  // namespace

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

namespace {

// Each slot's face neighbours in flood order (x - 1, x + 1, z - 1, z + 1,
// below, above), by slot index; -1 where the board ends.
struct FloodOrder {
    int8_t of[kSlotCount][6];
    constexpr FloodOrder() : of() {
        constexpr int kSteps[6][3] = {
            {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1},
        };
        for (int index = 0; index < kSlotCount; ++index) {
            for (int k = 0; k < 6; ++k) {
                const int ni = SlotI(index) + kSteps[k][0], nj = SlotJ(index) + kSteps[k][1],
                          nl = SlotLayer(index) + kSteps[k][2];
                const bool inside = ni >= 0 && ni < kBoardSize && nj >= 0 && nj < kBoardSize && nl >= 0 && nl < kLayers;
                of[index][k] = static_cast<int8_t>(inside ? SlotIndex(ni, nj, nl) : -1);
            }
        }
    }
};
constexpr FloodOrder kFloodOrder{};

int Flood(GameState& g, const RoundHost& host, BlockSlot* slots, int index, int count, int mark,
          bool includeArriving) {
    BlockSlot& seed = slots[index];
    if (seed.state == Fading) return count;
    if (IsArriving(seed) && !includeArriving) return count;
    if (!IsSettled(seed, SlotLayer(index))) return count;
    if (mark == 0) return count;

    for (const int ni : kFloodOrder.of[index]) {
        if (ni < 0) continue;
        BlockSlot& n = slots[ni];
        if (n.colour != seed.colour) continue;
        if (!IsOccupied(n)) continue;
        if (IsArriving(n) && !includeArriving) continue;
        if (n.groupMark == mark) continue;
        if (seed.state == Solid && n.state == Vanishing) continue;
        if (!IsSettled(n, SlotLayer(ni))) continue;

        count += 1;
        if (n.state == Solid && seed.state == Vanishing) DrawIntoChain(g, host, seed, n);
        seed.groupMark = mark;
        n.groupMark = mark;
        if (IsOccupied(n)) count = Flood(g, host, slots, ni, count, mark, includeArriving);
        n.groupSize = count;
    }
    return count;
}

}  // namespace

int FloodGroup(GameState& g, const RoundHost& host, int i, int j, int layer, int count,
               int mark, bool includeArriving) {
    return Flood(g, host, BoardSlots(g), SlotIndex(i, j, layer), count, mark, includeArriving);
}

void UpdateVanishing(GameState& g, const RoundHost& host, SlotSet slots) {
    slots.Drain([&](int index) {
        const int layer = SlotLayer(index);
        BlockSlot& s = SlotOf(g, index);

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
                g.ChainSlots[k] = ChainSlot{1, groupTotal, kChainLinkLife, s.groupMark};
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
    });
}

}  // namespace mervox
