#include "app/services/program_audio.h"

#include <algorithm>
#include <cstdio>

#include "audio/mixer.h"
#include "audio/music.h"
#include "audio/ogg_decode.h"
#include "audio/sample_convert.h"
#include "audio/sound_effects.h"
#include "game/effects.h"

namespace mervox {

// The music's output is the mixer's music voice.
class MixerMusicVoice final : public MusicOutput {
public:
    explicit MixerMusicVoice(Mixer& m) : m_(m) {}
    bool open() override { return MixerLive(m_); }
    void write(int segment, const std::vector<int16_t>& pcm) override { MixerQueueMusic(m_, pcm, segment); }
    void reset() override { MixerResetMusic(m_); }
    void unprepare(int segment) override { MixerForgetMusic(m_, segment); }

private:
    Mixer& m_;
};

// Lives from start-up to shutdown.
struct ProgramAudio {
    Mixer mixer;
    SoundEffects effects;
    MixerMusicVoice musicVoice{mixer};
    MusicPlayer music;
    SoundMessages messages;
    GameState* game = nullptr;
};

namespace {

// Music is decoded a track at a time while the game runs; a file that is not
// there is named once here, at start-up, rather than each time its track
// comes round.
void NameMissingMusic(const std::string& baseDir) {
    for (int s = 0; s < kMusicSegments; ++s) {
        const std::string name = MusicSegmentFile(s);
        std::FILE* f = std::fopen((baseDir + "/" + name).c_str(), "rb");
        if (f == nullptr) std::fprintf(stderr, "mervox: cannot load %s; that music is not heard\n", name.c_str());
        else std::fclose(f);
    }
}

}  // namespace

void ProgramAudioDeleter::operator()(ProgramAudio* a) const {
    if (a == nullptr) return;
    for (int k = 0; k < kVoiceCount; ++k) MixerReset(a->mixer, k);
    StopMusic(a->music);
    MixerClose(a->mixer);
    delete a;
}

namespace {

ProgramAudioPtr StartAudio(GameState& g, const std::string& baseDir, const SoundMessages& messages, bool offline) {
    ProgramAudioPtr audio(new ProgramAudio);
    ProgramAudio& a = *audio;
    a.game = &g;
    a.messages = messages;
    if (offline) MixerOpenOffline(a.mixer, kOutputRate);
    else MixerOpen(a.mixer);
    LoadSoundEffects(a.effects, baseDir, a.mixer.rate, &a.messages);
    a.music.baseDir = baseDir;
    a.music.outputRate = a.mixer.rate;
    const SoundMessages* said = &a.messages;
    a.music.decode = [said](const std::string& path, std::vector<int16_t>& pcm) {
        OutputFormat format;  // what the file holds; the output's format is fixed
        return DecodeOggFile(path, pcm, format, said) == OggOk;
    };
    a.music.output = &a.musicVoice;
    NameMissingMusic(baseDir);
    return audio;
}

}  // namespace

ProgramAudioPtr StartProgramAudio(GameState& g, const std::string& baseDir, const SoundMessages& messages) {
    return StartAudio(g, baseDir, messages, false);
}

ProgramAudioPtr StartOfflineProgramAudio(GameState& g, const std::string& baseDir, const SoundMessages& messages) {
    return StartAudio(g, baseDir, messages, true);
}

int ProgramAudioRate(const ProgramAudio& a) { return a.mixer.rate; }

void ProgramMixOffline(ProgramAudio& a, int16_t* out, size_t frames) {
    std::fill(out, out + frames * 2, int16_t{0});
    if (!a.mixer.offline) return;
    FinishMusicLoading(a.music);
    MixInto(a.mixer, out, frames);
    std::vector<int> finished;
    finished.swap(a.mixer.finishedTags);
    for (int tag : finished)
        if (a.game) OnMusicBufferDone(a.music, *a.game, tag);
    FinishMusicLoading(a.music);
}

void StopProgramAudio(ProgramAudioPtr& audio) { audio.reset(); }

void ProgramWriteEffect(ProgramAudio& a, int effect, bool restart) {
    WriteEffect(a.mixer, a.effects, effect, restart);
}
void ProgramPlayVoice(ProgramAudio& a, VoiceClip clip) { PlayVoice(a.mixer, a.effects, clip); }
void ProgramPreloadMusic(ProgramAudio& a) {
    if (a.game) PreloadMusic(a.music, *a.game);
}
void ProgramStopMusic(ProgramAudio& a) { StopMusic(a.music); }
void ProgramStartMusic(ProgramAudio& a) { StartMusic(a.music); }

void ProgramPauseSound(ProgramAudio& a, bool paused) { MixerPause(a.mixer, paused); }

void ProgramAudioEvent(ProgramAudio& a, uint32_t type, int32_t code) {
    if (a.mixer.musicDoneEvent == 0 || type != a.mixer.musicDoneEvent) return;
    if (a.game) OnMusicBufferDone(a.music, *a.game, code);
}

}  // namespace mervox
