#include "app/desktop/program_audio.h"

#include <algorithm>
#include <cstdio>

#include "audio/mixer.h"
#include "audio/music.h"
#include "audio/ogg_decode.h"
#include "audio/sample_convert.h"
#include "audio/sound_effects.h"
#include "game/effects.h"

namespace mervox {

// Lives from start-up to shutdown.
struct ProgramAudio {
    Mixer mixer;
    SoundEffects effects;
    MusicPlayer music;
    SoundMessages messages;
    GameState* game = nullptr;
};

namespace {

bool MusicOpen(void* ctx) { return MixerLive(static_cast<ProgramAudio*>(ctx)->mixer); }
void MusicWrite(void* ctx, int segment, const std::vector<int16_t>& pcm) {
    MixerQueueMusic(static_cast<ProgramAudio*>(ctx)->mixer, pcm, segment);
}
void MusicReset(void* ctx) { MixerResetMusic(static_cast<ProgramAudio*>(ctx)->mixer); }
void MusicUnprepare(void* ctx, int segment) {
    MixerForgetMusic(static_cast<ProgramAudio*>(ctx)->mixer, segment);
}

bool DecodeMusic(void* ctx, const std::string& path, std::vector<int16_t>& pcm) {
    OutputFormat format;  // what the file holds; the output's format is fixed
    return DecodeOggFile(path, pcm, format, &static_cast<ProgramAudio*>(ctx)->messages) == OggOk;
}

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
    a.music.decode = DecodeMusic;
    a.music.decodeCtx = &a;
    a.music.output = MusicOutput{&a, MusicOpen, MusicWrite, MusicReset, MusicUnprepare};
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

RoundHost ProgramSoundHost(ProgramAudio& a) {
    RoundHost h;
    h.ctx = &a;
    h.writeEffect = [](void* ctx, int effect, bool restart) {
        ProgramWriteEffect(*static_cast<ProgramAudio*>(ctx), effect, restart);
    };
    h.playVoice = [](void* ctx, VoiceClip clip) { ProgramPlayVoice(*static_cast<ProgramAudio*>(ctx), clip); };
    h.preloadMusic = [](void* ctx) { ProgramPreloadMusic(*static_cast<ProgramAudio*>(ctx)); };
    h.stopMusic = [](void* ctx) { ProgramStopMusic(*static_cast<ProgramAudio*>(ctx)); };
    return h;
}

void ProgramPauseSound(ProgramAudio& a, bool paused) { MixerPause(a.mixer, paused); }

void ProgramAudioEvent(ProgramAudio& a, uint32_t type, int32_t code) {
    if (a.mixer.musicDoneEvent == 0 || type != a.mixer.musicDoneEvent) return;
    if (a.game) OnMusicBufferDone(a.music, *a.game, code);
}

}  // namespace mervox
