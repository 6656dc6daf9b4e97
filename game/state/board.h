// Addressing and moving blocks on the 7 x 7 board.
//
// Every look-up of a cell outside the board, or of a layer above the stacked
// one, reads as an empty slot: nothing outside the arrays is ever touched.
#pragma once

#include "game/state/game_state.h"

namespace mervox {

inline bool InBoard(int i, int j) { return i >= 0 && i < kBoardSize && j >= 0 && j < kBoardSize; }
inline bool InBoard(int i, int j, int layer) { return InBoard(i, j) && layer >= 0 && layer < kLayers; }

// The slot, or null outside the board.
inline BlockSlot* SlotAt(GameState& g, int i, int j, int layer) {
    return InBoard(i, j, layer) ? &g.Board[i][j][layer] : nullptr;
}
inline const BlockSlot* SlotAt(const GameState& g, int i, int j, int layer) {
    return InBoard(i, j, layer) ? &g.Board[i][j][layer] : nullptr;
}

// One of the four ways along the board's axes: the arrow that walks it,
// its PushIntent bit and the one of the way back, and the step from a cell
// to the next one along it.
struct BoardDirection {
    int32_t arrow;     // KeyBit
    int32_t intent;    // PushIntentBit
    int32_t opposite;  // PushIntentBit of the opposite way
    int di, dj;        // one of them +1 or -1, the other 0
};

constexpr bool AlongX(const BoardDirection& d) { return d.di != 0; }
// +1 toward +x or +z, -1 toward -x or -z.
constexpr int SignOf(const BoardDirection& d) { return d.di + d.dj; }

// In the order the round takes held arrows: Left (-x), Right (+x), Up
// (+z), Down (-z).
inline constexpr BoardDirection kBoardDirections[4] = {
    {KeyLeft, IntentMinusX, IntentPlusX, -1, 0},
    {KeyRight, IntentPlusX, IntentMinusX, 1, 0},
    {KeyUp, IntentPlusZ, IntentMinusZ, 0, 1},
    {KeyDown, IntentMinusZ, IntentPlusZ, 0, -1},
};

// The same four in the order of their intent bits (+x, +z, -x, -z), the
// order in which kicks and a push in progress take them.
struct DirectionsByIntent {
    BoardDirection of[4];
    constexpr DirectionsByIntent() : of() {
        for (const BoardDirection& d : kBoardDirections) {
            int place = 0;
            for (const BoardDirection& e : kBoardDirections) place += e.intent < d.intent;
            of[place] = d;
        }
    }
};
inline constexpr DirectionsByIntent kDirectionsByIntent{};

// Cell and layer of a position, truncating toward zero. Play keeps every
// position on the board; a position far off it (a camera's, say) is held
// at +-1e9 cells, and NaN reads as +1e9.
inline int CellIndex(float v) {
    constexpr float kFarOff = 1e9f;
    float cells = v / kCellSize;
    if (!(cells < kFarOff)) cells = kFarOff;
    if (cells < -kFarOff) cells = -kFarOff;
    return static_cast<int>(cells);
}

// Whether a position, truncated, lies on a line between cells.
inline bool OnCellEdge(float v) { return static_cast<int>(v) % static_cast<int>(kCellSize) == 0; }

// The height of a block at rest in a layer: 0 on the floor, 100 stacked.
constexpr float RestHeight(int layer) { return static_cast<float>(layer) * kBlockHeight; }

inline bool IsOccupied(const BlockSlot& s) { return s.state != Empty; }
inline bool IsArriving(const BlockSlot& s) { return s.state == Solid && s.arriveTimer != 0; }
inline bool IsFreeForMovingBlock(const BlockSlot& s) { return s.state == Empty || IsArriving(s); }
inline bool IsSettled(const BlockSlot& s, int layer) {
    return s.offsetX + s.height + s.offsetZ == RestHeight(layer) &&
           s.slideX + s.slideY + s.slideZ == 0.0f;
}

// Predicates on a position that may lie outside the board (outside = empty).
inline bool OccupiedAt(const GameState& g, int i, int j, int layer) {
    const BlockSlot* s = SlotAt(g, i, j, layer);
    return s != nullptr && IsOccupied(*s);
}
inline bool EmptyAt(const GameState& g, int i, int j, int layer) { return !OccupiedAt(g, i, j, layer); }
inline bool ArrivingAt(const GameState& g, int i, int j, int layer) {
    const BlockSlot* s = SlotAt(g, i, j, layer);
    return s != nullptr && IsArriving(*s);
}
inline bool SolidInPlayAt(const GameState& g, int i, int j, int layer) {
    return OccupiedAt(g, i, j, layer) && !ArrivingAt(g, i, j, layer);
}
inline bool FreeForMovingBlockAt(const GameState& g, int i, int j, int layer) {
    const BlockSlot* s = SlotAt(g, i, j, layer);
    return s == nullptr || IsFreeForMovingBlock(*s);
}

// Clears the record's state and timers; its other fields keep their values.
void VacateSlot(BlockSlot& s);

// Copies the whole record, then vacates the source.
void MoveBlock(BlockSlot& from, BlockSlot& to);

// Puts a displaced arriving block's colour at the back of the refill queue;
// dropped when all twenty places are taken.
void QueueDisplacedColour(GameState& g, int colour);

// First free chain slot, or the last one taken when all are busy.
int TakeChainSlot(GameState& g);

}  // namespace mervox
