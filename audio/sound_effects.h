// The thirteen sound effects and the two voice clips, loaded once and
// converted to the output's format, each effect on a voice of its own.
#pragma once

#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/wave_file.h"
#include "game/round_host.h"

namespace mervox {

// Effect files in effect-number order (push ... van5).
extern const char* const kEffectFiles[13];

struct SoundEffects {
    std::vector<int16_t> effects[13];
    std::vector<int16_t> ready;
    std::vector<int16_t> go;
    int results[13] = {};  // what loading each file gave (0 = loaded)
};

// Loads snd/<effect>.wav for every effect in order (showing a message to
// `messages` for a file that cannot be used; that effect stays silent), and
// the voice clips (quietly).
void LoadSoundEffects(SoundEffects& fx, const std::string& baseDir, int outputRate,
                      const SoundMessages* messages);

// The device side of starting an effect: a restart resets the voice first;
// a plain write to a voice still sounding is refused and it goes on.
void WriteEffect(Mixer& m, SoundEffects& fx, int effect, bool restart);

// A voice clip replaces any clip still playing.
void PlayVoice(Mixer& m, SoundEffects& fx, VoiceClip clip);

}  // namespace mervox
