#include "app/program_audio.h"

#include <cstdio>
#include <memory>

#include "audio/mixer.h"
#include "audio/music.h"
#include "audio/ogg_decode.h"
#include "audio/sound_effects.h"
#include "game/effects.h"

namespace mervox {

namespace {

// The program's one sound system; it lives from start-up to shutdown.
struct ProgramAudio {
    Mixer mixer;
    SoundEffects effects;
    OutputFormat format;
    MusicPlayer music;
    GameState* game = nullptr;
};

std::unique_ptr<ProgramAudio> g_audio;

bool MusicOpen(void* ctx) { return static_cast<ProgramAudio*>(ctx)->mixer.device != 0; }
void MusicWrite(void* ctx, int segment, const std::vector<int16_t>& pcm) {
    MixerQueueMusic(static_cast<ProgramAudio*>(ctx)->mixer, pcm, segment);
}
void MusicReset(void* ctx) { MixerResetMusic(static_cast<ProgramAudio*>(ctx)->mixer); }
void MusicUnprepare(void* ctx, int segment) {
    MixerForgetMusic(static_cast<ProgramAudio*>(ctx)->mixer, segment);
}
void MusicClose(void* ctx) { MixerResetMusic(static_cast<ProgramAudio*>(ctx)->mixer); }

bool DecodeMusic(const std::string& path, std::vector<int16_t>& pcm, OutputFormat& format) {
    return DecodeOggFile(path, pcm, format) == OggOk;
}

void HookWriteEffect(void*, int effect, bool restart) {
    if (g_audio) WriteEffect(g_audio->mixer, g_audio->effects, effect, restart);
}
void HookPlayVoice(void*, VoiceClip clip) {
    if (g_audio) PlayVoice(g_audio->mixer, g_audio->effects, clip);
}
void HookPreloadMusic(void*) {
    if (g_audio && g_audio->game) PreloadMusic(g_audio->music, *g_audio->game);
}
void HookStopMusic(void*) {
    if (g_audio) StopMusic(g_audio->music);
}

// A sound file that cannot be used is reported in a message box captioned
// with its path, as the window is there; stderr when no box can be shown.
void SoundMessageBox(const std::string& caption, const std::string& text) {
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr) != 0)
        std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace

void ProgramAudioStart(GameState& g, const std::string& baseDir) {
    SetSoundMessageHook(SoundMessageBox);
    g_audio = std::make_unique<ProgramAudio>();
    ProgramAudio& a = *g_audio;
    a.game = &g;
    MixerOpen(a.mixer);
    LoadSoundEffects(a.effects, a.format, baseDir, a.mixer.rate);
    a.music.baseDir = baseDir;
    a.music.format = &a.format;
    a.music.outputRate = a.mixer.rate;
    a.music.decode = DecodeMusic;
    a.music.output = MusicOutput{&a, MusicOpen, MusicWrite, MusicReset, MusicUnprepare, MusicClose};
}

void ProgramAudioStop() {
    if (!g_audio) return;
    for (int k = 0; k < kVoiceCount; ++k) MixerReset(g_audio->mixer, k);
    StopMusic(g_audio->music);
    MixerClose(g_audio->mixer);
    DeleteLeftoverMusicFiles(g_audio->music.baseDir);
    g_audio.reset();
}

void FillAudioHooks(RoundHost& host) {
    host.writeEffect = HookWriteEffect;
    host.playVoice = HookPlayVoice;
    host.preloadMusic = HookPreloadMusic;
    host.stopMusic = HookStopMusic;
}

void ProgramStartMusic(void*) {
    if (g_audio) StartMusic(g_audio->music);
}

void ProgramAudioEvent(void*, const SDL_Event& e) {
    if (!g_audio || g_audio->mixer.musicDoneEvent == 0 || e.type != g_audio->mixer.musicDoneEvent) return;
    if (g_audio->game) OnMusicBufferDone(g_audio->music, *g_audio->game, e.user.code);
}

}  // namespace mervox
