// The procedures of the round simulation, by the names the game uses.
//
// All of them work on one GameState and reach the outside world only through
// the RoundHost hooks. They allocate nothing.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// How the block passes of an update go over the board: visiting only the
// slots each pass can change, or every slot in board order. Both play
// alike; the second is the plain form the first is checked against.
enum class SlotVisits { Needed, Every };

// One update of a round (RunMode 1 to 5): clock, counters, board turn,
// supplies, level-up, input, player, camera, blocks, vanishing, scoring.
void UpdateRound(GameState& g, const RoundHost& host, SlotVisits visits = SlotVisits::Needed);

// Starts every round and every title screen: empty board with the eight
// starting blocks, counters to their start values, generator seeded with 5.
void ResetScene(GameState& g);

// Turns the board's contents, the player and the camera a quarter turn.
// direction 0 when ViewAngle passes +45, 1 when it passes -45.
void TurnBoard(GameState& g, int direction);

// Completes a quarter turn whose angle has passed 45 degrees either way:
// the board's contents turn and the angle jumps back by 90.
void TurnBoardPastHalfway(GameState& g);

// Hands the steered camera to the projection: DrawCamera and the radian
// copies of the angles.
void HandCameraToProjection(GameState& g);

// The tutorial caption table (texts and timings).
void FillTutorialCaptions(GameState& g);

}  // namespace mervox
