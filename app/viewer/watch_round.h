// The viewer over a round the game plays back (the replay, the tutorial,
// the demonstrations, a round of the score board): called by the program
// instead of UpdateRound for such a round.
#pragma once

#include "app/viewer/watch_session.h"
#include "game/round_host.h"
#include "game/state/game_state.h"
#include "save/action_frame.h"

namespace mervox {

// The round is measured at its first update. Paused, it does not update;
// slow and fast it updates less or more often, with effects and voices
// heard at normal speed only. The overlay appears with the first viewer key
// pressed in `in`, the pass's actions. The round's own keys (Ctrl, Z,
// Escape) keep their meaning while it plays. Taken over, it is the player's
// practice round (PracticePass) until it ends or Escape leaves it for the
// title; its recording is then saved and the closing note printed.
void WatchRoundPass(WatchSession& s, GameState& g, const RoundHost& host, const ActionFrame& in);

}  // namespace mervox
