// The procedures of the round simulation, by the names the game uses.
//
// All of them work on one GameState and reach the outside world only through
// the RoundHost hooks. They allocate nothing.
#pragma once

#include "game/input_frame.h"
#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// How the block passes of an update go over the board: visiting only the
// slots each pass can change, or every slot in board order. Both play
// alike; the second is the plain form the first is checked against.
enum class SlotVisits { Needed, Every };

// One update of a round (RunMode 1 to 5): clock, counters, board turn,
// supplies, level-up, input, player, camera, blocks, vanishing, scoring.
// `in` is the pass's keys: the round's own in a keyboard round, the
// playback keys (Ctrl, Z) and Escape in any. While a key of KeysToRelease
// is down the update does nothing.
void UpdateRound(GameState& g, const RoundHost& host, const InputFrame& in,
                 SlotVisits visits = SlotVisits::Needed);

// Starts every round and every title screen: empty board with the eight
// starting blocks, counters to their start values, generator seeded with 5.
void ResetScene(GameState& g);

// The camera of the title's first frame, also put back at every title
// reset: both cameras at (350, 400, -200), pitch 30 degrees, no turn.
void PutTitleStartCamera(GameState& g);

// A round started outside the title (a recording played headless, a test,
// the demonstration bot): the program's start-up state and its scene reset,
// then the round start with the given RunMode and Playback (PlaybackOn: the
// keys come from InputLog, PlaybackOff: from the pass's frame), music off,
// no start key latched. The recording, if any, is loaded by the caller
// afterwards.
void StartRoundOutsideTitle(GameState& g, RunModeValue runMode, PlaybackValue playback);

// Turns the board's contents, the player and the camera a quarter turn.
// direction 0 when ViewAngle passes +45, 1 when it passes -45.
void TurnBoard(GameState& g, int direction);

// Completes a quarter turn whose angle has passed 45 degrees either way:
// the board's contents turn and the angle jumps back by 90.
void TurnBoardPastHalfway(GameState& g);

// Hands the steered camera to the projection: DrawCamera and the radian
// copies of the angles.
void HandCameraToProjection(GameState& g);

}  // namespace mervox
