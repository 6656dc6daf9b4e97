// The program's link to the sound: effects, voice clips and music, reached
// from the round's and the title's hooks and from the message pump.
#pragma once

#include <SDL.h>

#include <string>

#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

// Loads the effects and voice clips from baseDir/snd and opens the output.
// The state is kept for the music's level-driven chaining.
void ProgramAudioStart(GameState& g, const std::string& baseDir);
// Releases the effects, stops the music and removes leftover decoded files.
void ProgramAudioStop();

// Fills the sound hooks of a RoundHost (effects, voice, music preload and
// stop); `ctx` is not used by them.
void FillAudioHooks(RoundHost& host);

// The first track of a round (title's round start).
void ProgramStartMusic(void* ctx);

// An event the sound registered for itself (the music's finished buffer).
void ProgramAudioEvent(void* ctx, const SDL_Event& e);

}  // namespace mervox
