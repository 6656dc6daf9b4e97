#include "game/block_motion.h"

#include "game/state/board.h"

namespace mervox {

namespace {

constexpr float kReturnStep = 4.0f;
constexpr float kSlideStep = 4.0f;
constexpr float kFallStep = 10.0f;
constexpr float kRiseStep = 4.0f;
constexpr float kEntryOffset = 92.0f;
constexpr float kSlideSpeed = 8.0f;

void ReturnToZero(float& v) {
    if (v > 0.0f) v -= kReturnStep;
    if (v < 0.0f) v += kReturnStep;
}

// Where blocks went during one motion pass.
struct Moves {
    int index;         // the slot being stepped
    SlotSet& moving;   // slots still to step
    SlotSet& entered;  // slots a block moved into
    void Entered(int n) {
        entered.Add(n);
        if (n > index) moving.Add(n);
    }
};

// The sliding block has reached the middle of its cell: it stops at the
// board's edge or against a block in play, otherwise it enters the next
// cell, replacing an announced block there. An empty record never moves:
// whatever slide it kept from the block that left it simply stops.
void SlideOn(GameState& g, Moves& moves, BlockSlot& s, int ni, int nj, int layer, float& offset,
             float& slide, float direction, bool alongX) {
    BlockSlot* next = SlotAt(g, ni, nj, layer);
    if (s.state == Empty || next == nullptr || SolidInPlayAt(g, ni, nj, layer)) {
        offset = 0.0f;
        slide = 0.0f;
        return;
    }
    if (IsArriving(*next)) QueueDisplacedColour(g, next->colour);
    MoveBlock(s, *next);
    moves.Entered(SlotIndex(ni, nj, layer));
    if (alongX) {
        next->slideX = direction * kSlideSpeed;
        next->offsetX = -direction * kEntryOffset;
    } else {
        next->slideZ = direction * kSlideSpeed;
        next->offsetZ = -direction * kEntryOffset;
    }
}

}  // namespace

void UpdateBlockMotion(GameState& g, SlotSet& moving, SlotSet& entered) {
    moving.Drain([&](int index) {
        const int layer = SlotLayer(index);
        Moves moves{index, moving, entered};
        BlockSlot& s = SlotOf(g, index);
        const float rest = RestHeight(layer);

        ReturnToZero(s.offsetX);
        if (s.height > rest) s.height -= kFallStep;
        if (s.height < rest) s.height += kRiseStep;
        ReturnToZero(s.offsetZ);

        if (s.slideX < 0.0f) {
            s.offsetX -= kSlideStep;
            if (static_cast<int>(s.offsetX) <= 0)
                SlideOn(g, moves, s, SlotI(index) - 1, SlotJ(index), layer, s.offsetX, s.slideX, -1.0f, true);
        }
        if (s.slideX > 0.0f) {
            s.offsetX += kSlideStep;
            if (static_cast<int>(s.offsetX) >= 0)
                SlideOn(g, moves, s, SlotI(index) + 1, SlotJ(index), layer, s.offsetX, s.slideX, 1.0f, true);
        }
        if (s.slideZ > 0.0f) {
            s.offsetZ += kSlideStep;
            if (static_cast<int>(s.offsetZ) >= 0)
                SlideOn(g, moves, s, SlotI(index), SlotJ(index) + 1, layer, s.offsetZ, s.slideZ, 1.0f, false);
        }
        if (s.slideZ < 0.0f) {
            s.offsetZ -= kSlideStep;
            if (static_cast<int>(s.offsetZ) <= 0)
                SlideOn(g, moves, s, SlotI(index), SlotJ(index) - 1, layer, s.offsetZ, s.slideZ, -1.0f, false);
        }

        if (layer == 1 && IsOccupied(s) && SlotOf(g, index - 1).state == Empty &&
            s.offsetX + s.offsetZ == 0.0f) {
            BlockSlot& floor = SlotOf(g, index - 1);
            MoveBlock(s, floor);
            floor.height = RestHeight(1);
            entered.Add(index - 1);
        }

        // A block that slid out from under a stacked one: the stacked block
        // may drop when its turn comes.
        if (layer == 0 && s.state == Empty && SlotOf(g, index + 1).state != Empty) moving.Add(index + 1);
    });
}

}  // namespace mervox
