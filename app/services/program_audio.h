// The program's sound system: effects, voice clips and music on one output.
// The program owns it and reaches it from the round's and the title's hooks
// and from the message pump.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/wave_file.h"
#include "game/round_host.h"
#include "game/state/game_state.h"

namespace mervox {

struct ProgramAudio;
struct ProgramAudioDeleter {
    void operator()(ProgramAudio* a) const;
};
using ProgramAudioPtr = std::unique_ptr<ProgramAudio, ProgramAudioDeleter>;

// Loads the effects and voice clips from baseDir/snd and opens the output;
// files that cannot be used are reported to `messages` (also from the music
// loader thread). The state is kept for the music's level-driven chaining.
ProgramAudioPtr StartProgramAudio(GameState& g, const std::string& baseDir, const SoundMessages& messages);

// The same sound system with no audio device (a video export): mixed at
// the mixer's own rate when the owner asks, with ProgramMixOffline.
ProgramAudioPtr StartOfflineProgramAudio(GameState& g, const std::string& baseDir, const SoundMessages& messages);
// The rate the sound is mixed at.
int ProgramAudioRate(const ProgramAudio& a);
// Offline only: mixes the next `frames` stereo frames into `out` (cleared
// first) and hands each music buffer that ended in them to the music's
// chaining, as the device's finished-buffer events do; music decoding is
// waited for, so the result never depends on the machine's speed.
void ProgramMixOffline(ProgramAudio& a, int16_t* out, size_t frames);
// Silences every voice, stops the music, closes the output. Destroying the pointer does the same.
void StopProgramAudio(ProgramAudioPtr& audio);

// What the round's and the title's sound hooks do.
void ProgramWriteEffect(ProgramAudio& a, int effect, bool restart);
void ProgramPlayVoice(ProgramAudio& a, VoiceClip clip);
void ProgramPreloadMusic(ProgramAudio& a);
void ProgramStopMusic(ProgramAudio& a);
void ProgramStartMusic(ProgramAudio& a);  // the first track of a round

// A round's sound (effects, voice clips, the music's preloading and its
// stop) reaching this sound system.
class ProgramSoundHost final : public RoundHost {
public:
    explicit ProgramSoundHost(ProgramAudio& a) : a_(a) {}
    void writeEffect(int effect, bool restart) const override { ProgramWriteEffect(a_, effect, restart); }
    void playVoice(VoiceClip clip) const override { ProgramPlayVoice(a_, clip); }
    void preloadMusic() const override { ProgramPreloadMusic(a_); }
    void stopMusic() const override { ProgramStopMusic(a_); }

private:
    ProgramAudio& a_;
};

// The game paused: every voice and the music hold where they are.
void ProgramPauseSound(ProgramAudio& a, bool paused);

// An event the program registered for itself, by type and code: the
// music's finished buffer is handled, any other is ignored.
void ProgramAudioEvent(ProgramAudio& a, uint32_t type, int32_t code);

}  // namespace mervox
