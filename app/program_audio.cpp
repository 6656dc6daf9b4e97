#include "app/program_audio.h"

namespace mervox {

// The sound is not part of this build yet: every request is accepted and
// nothing is heard.

void ProgramAudioStart(GameState&, const std::string&) {}
void ProgramAudioStop() {}

void FillAudioHooks(RoundHost& host) {
    host.writeEffect = nullptr;
    host.playVoice = nullptr;
    host.preloadMusic = nullptr;
    host.stopMusic = nullptr;
}

void ProgramStartMusic(void*) {}

void ProgramAudioEvent(void*, const SDL_Event&) {}

}  // namespace mervox
