// Sets of board slots, for the block passes of an update that only need to
// visit some of the 98 slots.
//
// A slot's index follows board order: index = (i * 7 + j) * 2 + layer, so
// visiting a set from its lowest index up visits its slots in the order of
// the board loops (i outer, j inner, layer 0 before 1). The sets live for one
// update on the stack; nothing of them is kept in GameState.
#pragma once

#include <cstdint>

#include "game/state/game_state.h"

namespace mervox {

constexpr int SlotIndex(int i, int j, int layer) { return (i * kBoardSize + j) * kLayers + layer; }
constexpr int SlotI(int index) { return index / (kBoardSize * kLayers); }
constexpr int SlotJ(int index) { return index / kLayers % kBoardSize; }
constexpr int SlotLayer(int index) { return index % kLayers; }

// The board's slots lie one after another in board order, so the board can
// be walked as a single run of kSlotCount slots.
static_assert(sizeof(GameState::Board) == kSlotCount * sizeof(BlockSlot), "the board is one run of slots");
inline BlockSlot* BoardSlots(GameState& g) { return &g.Board[0][0][0]; }
inline BlockSlot& SlotOf(GameState& g, int index) { return BoardSlots(g)[index]; }

// The number of bits set, in a few shifts and adds (no library call).
constexpr int BitCount(uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
}
static_assert(BitCount(0) == 0 && BitCount(~0ull) == 64 && BitCount(0x8000000000000001ull) == 2);

struct SlotSet {
    uint64_t w[2] = {0, 0};

    static SlotSet All() {
        SlotSet s;
        s.AddFrom(0);
        return s;
    }

    void Add(int index) { w[index >> 6] |= uint64_t{1} << (index & 63); }
    void Remove(int index) { w[index >> 6] &= ~(uint64_t{1} << (index & 63)); }
    bool Has(int index) const { return (w[index >> 6] >> (index & 63)) & 1u; }
    int Count() const { return BitCount(w[0]) + BitCount(w[1]); }
    void KeepOnly(const SlotSet& o) {
        w[0] &= o.w[0];
        w[1] &= o.w[1];
    }
    void AddAll(const SlotSet& o) {
        w[0] |= o.w[0];
        w[1] |= o.w[1];
    }
    // Every slot from `index` to the last one.
    void AddFrom(int index) {
        for (int k = index; k < kSlotCount; ++k) Add(k);
    }

    // Visits the members in index order, taking each out before its visit.
    // A visit may add slots after the one visited; they are visited in turn.
    // It may also take later members out, which then are not visited.
    template <class Visit>
    void Drain(Visit&& visit) {
        for (int word = 0; word < 2; ++word) {
            while (w[word] != 0) {
                const int bit = __builtin_ctzll(w[word]);
                w[word] &= w[word] - 1;
                visit(word * 64 + bit);
            }
        }
    }
};

}  // namespace mervox
