// One JSON line of the round's state after an update, for comparing runs
// field by field. The line's keys, in the order written, and the
// GameState field each holds:
//
//   f     RoundFrame           t    TimeLeft          rc   ReadyCountdown
//   pf    PlayFrames           sc   Score             ss   ShownScore
//   st    ShownTime            lv   Level             q    LevelQuota
//   cc    ColourCount          cap  BlockCap          si   SupplyInterval
//   sd    SupplyCountdown      it   IdleTimer         bc   BlockCount
//   bcl   BlocksCleared        luf  LevelUpFlash      eh   EscHold
//   fade  FadeLevel            ci   CaptionIndex      k    KeysNow (key bits)
//   li    InputLogIndex        rng  RandomState
//   p     [PlayerX, PlayerY, PlayerZ, PlayerVelY]
//   pi    PushIntent           pu   Pushing (0/1)     al   KeyLatch (0/1)
//   va    ViewAngle            ts   TurnSpeed
//   cam   [ViewCamera.x, ViewCamera.y, ViewCamera.z, CameraPitch]
//   rq    RefillQueue, all kRefillQueueLength entries
//   ch    ChainSlots, each [chain, count, timer, mark]
//   fx    the effect numbers started in this update, in order
//   b     Board, cell by cell (i, then j, then layer), each [state, colour,
//         offsetX, height, offsetZ, slideX, slideY, slideZ, groupSize,
//         groupMark, vanishTimer, arriveTimer, refillTimer, popupSize,
//         popupTimer, chainLevel, chainSlot]
//
// Whole numbers are written as such; floats with nine significant digits,
// which read back as the same 32-bit float.
#pragma once

#include <string>
#include <vector>

#include "game/state/game_state.h"

namespace mervox {

// Appends the line (with its newline) to `out`. `effects` are the effect
// numbers started in the update, in the order they started.
void AppendTraceLine(const GameState& g, const std::vector<int>& effects, std::string& out);

}  // namespace mervox
