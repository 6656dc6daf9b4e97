#include "audio/sound_effects.h"

#include <cstdio>

#include "audio/sample_convert.h"

namespace mervox {

const char* const kEffectFiles[13] = {"push", "kick", "jump", "extend", "tick", "adm", "prep",
                                      "cnt",  "van1", "van2", "van3",   "van4", "van5"};

namespace {

std::vector<int16_t> Converted(const WaveSound& s, int outputRate) {
    if (!s.loaded) return {};
    return ConvertToOutput(s.data.data(), s.data.size(), s.format.bitsPerSample, s.format.channels,
                           static_cast<int>(s.format.samplesPerSec), outputRate);
}

std::vector<int16_t> LoadClip(const std::string& path, int outputRate) {
    WaveSound s;
    OutputFormat unused;
    if (LoadWaveFile(path, s, unused, nullptr) != WaveOk) {
        // The voice clips show no message box; the clip is simply not heard.
        std::fprintf(stderr, "mervox: cannot load %s; that voice is not heard\n", path.c_str());
        return {};
    }
    return Converted(s, outputRate);
}

}  // namespace

void LoadSoundEffects(SoundEffects& fx, const std::string& baseDir, int outputRate,
                      const SoundMessages* messages) {
    for (int k = 0; k < 13; ++k) {
        WaveSound s;
        OutputFormat format;
        fx.results[k] = LoadWaveFile(baseDir + "/snd/" + kEffectFiles[k] + ".wav", s, format, messages);
        fx.effects[k] = Converted(s, outputRate);
    }
    fx.ready = LoadClip(baseDir + "/snd/ready.wav", outputRate);
    fx.go = LoadClip(baseDir + "/snd/go.wav", outputRate);
}

void WriteEffect(Mixer& m, SoundEffects& fx, int effect, bool restart) {
    if (effect < 0 || effect >= 13) return;
    if (restart) MixerReset(m, effect);
    MixerWrite(m, effect, fx.effects[effect]);
}

void PlayVoice(Mixer& m, SoundEffects& fx, VoiceClip clip) {
    MixerReset(m, kVoiceClipVoice);
    MixerWrite(m, kVoiceClipVoice, clip == VoiceClip::Ready ? fx.ready : fx.go);
}

}  // namespace mervox
