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

// Cell and layer of a position, truncating toward zero.
inline int CellIndex(float v) { return static_cast<int>(v / 100.0f); }

inline bool IsOccupied(const BlockSlot& s) { return s.state != Empty; }
inline bool IsArriving(const BlockSlot& s) { return s.state == Solid && s.arriveTimer != 0; }
inline bool IsFreeForMovingBlock(const BlockSlot& s) { return s.state == Empty || IsArriving(s); }
inline bool IsSettled(const BlockSlot& s, int layer) {
    return s.offsetX + s.height + s.offsetZ == static_cast<float>(layer * 100) &&
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
