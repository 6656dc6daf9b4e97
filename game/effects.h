// Starting sound effects from the simulation, with the per-effect cooldown
// that keeps one effect from starting again in the very next update.
#pragma once

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// Each non-zero cooldown becomes (value + 1) mod 3: an effect started in
// update t may start again in update t + 2.
void AgeEffectCooldowns(GameState& g);

// Starts effect k unless it started in this or the previous update or
// effects are switched off. A device still playing it refuses the write.
void PlayEffect(GameState& g, const RoundHost& host, int k);

// As PlayEffect, but the device is reset first so the effect starts over.
// The level-up fanfare (extend) has no cooldown at all.
void RestartEffect(GameState& g, const RoundHost& host, int k);

// The arrival sound: tested against its cooldown, which it never sets.
void WriteArrivalEffect(GameState& g, const RoundHost& host);

void PlayVoiceClip(GameState& g, const RoundHost& host, VoiceClip clip);

}  // namespace mervox
