#include "game/block_pass.h"

#include <bit>
#include <cstddef>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "game/block_motion.h"
#include "game/camera_follow.h"
#include "game/matching.h"
#include "game/slot_set.h"
#include "game/state/board.h"
#include "game/supply.h"

namespace mervox {

namespace {

constexpr int kColours = 5;

// Non-zero exactly when the float is not +0 or -0 (NaN included).
inline uint32_t NonZeroBits(float v) { return std::bit_cast<uint32_t>(v) & 0x7fffffffu; }

// NeedsMotionStep's test of one record: offsetX, offsetZ, slideX or slideZ
// not zero, or the height off the layer's rest (NaN counts as off).
template <int Layer>
inline bool AwayFromRest(const BlockSlot& s) {
#ifdef __SSE2__
    // offsetX, height, offsetZ and slideX lie side by side: one compare.
    static_assert(offsetof(BlockSlot, height) == offsetof(BlockSlot, offsetX) + 4 &&
                  offsetof(BlockSlot, offsetZ) == offsetof(BlockSlot, offsetX) + 8 &&
                  offsetof(BlockSlot, slideX) == offsetof(BlockSlot, offsetX) + 12);
    const __m128 rest = _mm_setr_ps(0.0f, RestHeight(Layer), 0.0f, 0.0f);
    const int off = _mm_movemask_ps(_mm_cmpneq_ps(_mm_loadu_ps(&s.offsetX), rest));
    return (off != 0) | (NonZeroBits(s.slideZ) != 0);
#else
    const uint32_t away = NonZeroBits(s.offsetX) | NonZeroBits(s.offsetZ) | NonZeroBits(s.slideX) |
                          NonZeroBits(s.slideZ);
    return (away != 0) | (s.height != RestHeight(Layer));
#endif
}

// A slot set as one 128-bit number, bit k for slot index k.
using Bits = unsigned __int128;
inline Bits ToBits(const SlotSet& s) { return (static_cast<Bits>(s.w[1]) << 64) | s.w[0]; }
inline SlotSet FromBits(Bits b) {
    SlotSet s;
    s.w[0] = static_cast<uint64_t>(b);
    s.w[1] = static_cast<uint64_t>(b >> 64);
    return s;
}

// Slots whose index satisfies the test.
template <class Test>
constexpr Bits SlotsWhere(Test test) {
    Bits b = 0;
    for (int index = 0; index < kSlotCount; ++index)
        if (test(index)) b |= static_cast<Bits>(1) << index;
    return b;
}
constexpr Bits kNotFirstRow = SlotsWhere([](int k) { return SlotJ(k) != 0; });
constexpr Bits kNotLastRow = SlotsWhere([](int k) { return SlotJ(k) != kBoardSize - 1; });
constexpr Bits kUpper = SlotsWhere([](int k) { return SlotLayer(k) == 1; });
constexpr Bits kFloor = SlotsWhere([](int k) { return SlotLayer(k) == 0; });

// The slots with a face neighbour in the set (x - 1 and x + 1 are 14 apart
// in index, z - 1 and z + 1 are 2 apart, the layers 1).
inline Bits Spread(Bits b) {
    return (b << 14) | (b >> 14) | ((b << 2) & kNotFirstRow) | ((b >> 2) & kNotLastRow) | ((b << 1) & kUpper) |
           ((b >> 1) & kFloor);
}

// The slots each pass of this update has to visit.
struct BlockSets {
    SlotSet present;               // holding a block or announcing one
    SlotSet moving;                // NeedsMotionStep
    SlotSet popups;                // a pop-up counting down
    SlotSet colour[kColours];      // holding a block of each colour
    SlotSet paired;                // holding a block with a face neighbour of its colour
    static constexpr int kCodeLength = 128;
    uint8_t code[kCodeLength];     // each slot's colour when it holds a block, else kColours

    SlotSet counted;               // holding a solid or vanishing block

    // Files the slot at `index` (its grouping mark already cleared) into the
    // words of this update's sets; `bit` is its bit in its word. Without
    // branches: every slot is filed.
    struct Words {
        uint64_t present = 0, moving = 0, popups = 0, counted = 0;
    };
    template <int Layer>
    void File(Words& w, const BlockSlot& s, int index, uint64_t bit, bool floorEmpty) {
        const bool occupied = s.state != Empty;
        w.present |= (occupied | (s.arriveTimer != 0)) ? bit : 0;
        w.counted |= static_cast<uint32_t>(s.state - Solid) < 2 ? bit : 0;  // solid or vanishing
        code[index] = static_cast<uint8_t>(occupied && static_cast<unsigned>(s.colour) < kColours
                                               ? static_cast<unsigned>(s.colour) : kColours);
        bool moves = AwayFromRest<Layer>(s);
        if constexpr (Layer == 1) moves |= occupied & floorEmpty;
        w.moving |= moves ? bit : 0;
        w.popups |= ((s.popupSize > 0) | (s.popupTimer > 0)) ? bit : 0;
    }
    void Store(const Words& w, int word) {
        present.w[word] = w.present;
        moving.w[word] = w.moving;
        popups.w[word] = w.popups;
        counted.w[word] = w.counted;
    }

    // The colour sets, from the codes of all slots (those past the board
    // read as no block).
    void SortColours() {
        for (int index = kSlotCount; index < kCodeLength; ++index) code[index] = kColours;
        for (int c = 0; c < kColours; ++c) {
            for (int word = 0; word < 2; ++word) {
                uint64_t m = 0;
#ifdef __SSE2__
                const __m128i want = _mm_set1_epi8(static_cast<char>(c));
                for (int k = 0; k < 4; ++k) {
                    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(code + word * 64 + k * 16));
                    m |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, want))))
                         << (16 * k);
                }
#else
                for (int k = 0; k < 64; ++k) m |= static_cast<uint64_t>(code[word * 64 + k] == c) << k;
#endif
                colour[c].w[word] = m;
            }
        }
    }

    // Files both slots of a cell again after its arrival step. A block
    // still announced keeps its colour in its slot: the pairs change only
    // when a landing moved a colour.
    void Refile(GameState& g, int i, int j) {
        bool recoloured = false;
        for (int layer = 0; layer < kLayers; ++layer) {
            const int index = SlotIndex(i, j, layer);
            const BlockSlot& s = g.Board[i][j][layer];
            if (s.state != Empty) present.Add(index);
            const uint8_t now = static_cast<uint8_t>(
                s.state != Empty && static_cast<unsigned>(s.colour) < kColours ? static_cast<unsigned>(s.colour)
                                                                               : kColours);
            if (now != code[index]) {
                if (code[index] < kColours) colour[code[index]].Remove(index);
                if (now < kColours) colour[now].Add(index);
                code[index] = now;
                recoloured = true;
            }
            moving.Add(index);
        }
        if (recoloured) FindPairs();
    }

    // Whether a face neighbour holds a block of the slot's colour.
    // (for a slot that holds a block).
    bool LikeNeighbour(const BlockSlot& s, int index) const {
        if (static_cast<unsigned>(s.colour) >= kColours) return true;
        return paired.Has(index);
    }

    // Whether the slot holds a block that no face neighbour matches in
    // colour: a flood from it could join nothing.
    bool Lone(int index) const { return code[index] < kColours && !paired.Has(index); }

    void FindPairs() {
        Bits p = 0;
        for (const SlotSet& c : colour) {
            const Bits b = ToBits(c);
            p |= b & Spread(b);
        }
        paired = FromBits(p);
    }
};

// The refill countdown of a slot, unless it is about to end (false).
inline bool CountDownRefill(BlockSlot& s) {
    if (s.refillTimer > 0) {
        if (s.refillTimer == 1) return false;
        s.refillTimer -= 1;
    }
    return true;
}

// One sweep: refill countdowns, clearing the grouping marks and filing the
// slots, a cell (floor slot, then stacked slot) at a time; the block counts
// come from the sets. A countdown that reaches its end supplies a block,
// which needs the whole count first and may change any slot: the sweep then
// stops there, the counts and the countdowns are finished as usual and the
// board filed again. Leaves the sets of the board as it then stands.
void SweepBoard(GameState& g, const RoundHost& host, BlockSets& sets) {
    BlockSlot* const slots = BoardSlots(g);
    int refillDue = -1;
    for (int word = 0; word < 2 && refillDue < 0; ++word) {
        BlockSets::Words w;
        const int end = word == 0 ? 64 : kSlotCount;
        uint64_t bit = 1;
        for (int index = word * 64; index < end; index += 2, bit <<= 2) {
            BlockSlot& floor = slots[index];
            BlockSlot& upper = slots[index + 1];
            if (!CountDownRefill(floor)) {
                refillDue = index;
                break;
            }
            floor.groupSize = 0;
            floor.groupMark = 0;
            sets.File<0>(w, floor, index, bit, false);
            if (!CountDownRefill(upper)) {
                refillDue = index + 1;
                break;
            }
            upper.groupSize = 0;
            upper.groupMark = 0;
            sets.File<1>(w, upper, index + 1, bit << 1, floor.state == Empty);
        }
        sets.Store(w, word);
    }
    if (refillDue >= 0) {
        CountBlocks(g);
        ReplaceVanishedBlocks(g, host, refillDue);
        for (int word = 0; word < 2; ++word) {
            BlockSets::Words w;
            const int end = word == 0 ? 64 : kSlotCount;
            uint64_t bit = 1;
            for (int index = word * 64; index < end; index += 2, bit <<= 2) {
                BlockSlot& floor = slots[index];
                BlockSlot& upper = slots[index + 1];
                floor.groupSize = 0;
                floor.groupMark = 0;
                sets.File<0>(w, floor, index, bit, false);
                upper.groupSize = 0;
                upper.groupMark = 0;
                sets.File<1>(w, upper, index + 1, bit << 1, floor.state == Empty);
            }
            sets.Store(w, word);
        }
        sets.SortColours();
    } else {
        sets.SortColours();
        g.BlockCount = sets.counted.Count();
        for (int c = 0; c < kColours; ++c) {
            SlotSet of = sets.colour[c];
            of.KeepOnly(sets.counted);
            g.ColourCounts[c] = of.Count();
        }
    }
    sets.FindPairs();
    std::memset(g.GroupSizeTable, 0, sizeof g.GroupSizeTable);
    g.MarkCounter = 0;
}

// The plain form: every pass visits every slot in board order.
void UpdateBlocksVisitingEverySlot(GameState& g, const RoundHost& host) {
    CountBlocks(g);
    ReplaceVanishedBlocks(g, host, 0);
    ClearGroupMarks(g);
    RelieveBackground(g);
    for (int index = 0; index < kSlotCount; ++index) {
        ArriveSlot(g, host, SlotI(index), SlotJ(index), SlotLayer(index));
        GroupSlot(g, host, index, [] { return true; });
    }
    SlotSet moving = SlotSet::All(), entered;
    UpdateBlockMotion(g, moving, entered);
    UpdateVanishing(g, host, SlotSet::All());
}

// Gives the lone blocks at the front of `visit` their groups of one, each
// under the next mark as GroupLoneSlot, taking them out of `visit`: the
// blocks no face neighbour matches in colour, not announced, not yet
// grouped. Stops at the first member that is anything else. Notes as the
// grouping loop does whether a group of three was recorded and whether a
// block is vanishing or fading.
void GroupLoneRun(GameState& g, const BlockSets& sets, SlotSet& visit, bool& groupOfThree, bool& dying) {
    BlockSlot* const slots = BoardSlots(g);
    int mark = g.MarkCounter;
    bool three = false, passing = false;
    for (int word = 0; word < 2; ++word) {
        uint64_t& left = visit.w[word];
        while (left != 0) {
            const int index = word * 64 + __builtin_ctzll(left);
            BlockSlot& s = slots[index];
            if (s.arriveTimer != 0 || s.groupSize != 0 || !sets.Lone(index)) {
                word = 2;  // the run ends here
                break;
            }
            left &= left - 1;
            mark += 1;
            three |= GroupLoneSlot(g, s, mark) >= 3;
            passing |= static_cast<uint32_t>(s.state - Vanishing) < 2;
        }
    }
    g.MarkCounter = mark;
    groupOfThree |= three;
    dying |= passing;
}

// Landing and grouping, in board order. An empty slot with no block
// announced is left alone by both while no size is recorded under mark 0,
// which only odd boards ever do; from then on every slot is visited. Notes
// whether a group of three was recorded and whether a block is vanishing or
// fading.
void LandAndGroup(GameState& g, const RoundHost& host, BlockSets& sets, bool& groupOfThree, bool& dying) {
    SlotSet visit = sets.present;
    bool everySlot = false;
    visit.Drain([&](int index) {
        BlockSlot& s = SlotOf(g, index);
        if (s.arriveTimer != 0) {
            ArriveSlot(g, host, SlotI(index), SlotJ(index), SlotLayer(index));
            sets.Refile(g, SlotI(index), SlotJ(index));
        }
        if (s.groupSize == 0 && s.arriveTimer == 0 && sets.Lone(index)) {
            // A lone block: its group of one, and those of the lone blocks
            // right after it in one run.
            g.MarkCounter += 1;
            groupOfThree |= GroupLoneSlot(g, s, g.MarkCounter) >= 3;
            dying |= static_cast<uint32_t>(s.state - Vanishing) < 2;  // vanishing or fading
            GroupLoneRun(g, sets, visit, groupOfThree, dying);
            return;
        }
        GroupSlot(g, host, index, [&] { return sets.LikeNeighbour(s, index); });
        groupOfThree |= s.groupSize >= 3;  // the size recorded for its mark
        dying |= static_cast<uint32_t>(s.state - Vanishing) < 2;
        if (!everySlot && g.GroupSizeTable[0] != 0) {
            everySlot = true;
            visit.AddFrom(index + 1);
        }
    });
}

}  // namespace

void UpdateBlocks(GameState& g, const RoundHost& host, SlotVisits visits) {
    if (visits == SlotVisits::Every) {
        UpdateBlocksVisitingEverySlot(g, host);
        return;
    }
    BlockSets sets;
    SweepBoard(g, host, sets);
    RelieveBackground(g);

    bool groupOfThree = false;
    bool dying = false;
    LandAndGroup(g, host, sets, groupOfThree, dying);

    SlotSet entered;
    UpdateBlockMotion(g, sets.moving, entered);

    // Vanishing: pop-ups count down wherever they are. A block can start,
    // run or end its vanishing only when a group of three was recorded or a
    // block was already vanishing or fading (only such a block draws others
    // into a chain); otherwise the blocks are left alone.
    SlotSet vanishing = sets.popups;
    vanishing.AddAll(entered);
    if (groupOfThree || dying) vanishing.AddAll(sets.present);
    UpdateVanishing(g, host, vanishing);
}

}  // namespace mervox
