#include "audio/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace mervox {

namespace {

class AudioLock {
public:
    explicit AudioLock(const Mixer& m) : device_(m.device) {
        if (device_) SDL_LockAudioDevice(device_);
    }
    ~AudioLock() {
        if (device_) SDL_UnlockAudioDevice(device_);
    }

private:
    SDL_AudioDeviceID device_;
};

void Callback(void* userdata, Uint8* stream, int len) {
    auto* m = static_cast<Mixer*>(userdata);
    std::memset(stream, 0, static_cast<size_t>(len));
    MixInto(*m, reinterpret_cast<int16_t*>(stream), static_cast<size_t>(len) / 4);
    for (int tag : m->finishedTags) {
        SDL_Event e;
        SDL_zero(e);
        e.type = m->musicDoneEvent;
        e.user.code = tag;
        SDL_PushEvent(&e);
    }
    m->finishedTags.clear();
}

int Clamp16(int v) { return std::clamp(v, -32768, 32767); }

}  // namespace

void MixInto(Mixer& m, int16_t* out, size_t frames) {
    for (MixVoice& v : m.voices) {
        if (!v.playing) continue;
        const size_t n = std::min(frames, v.frames - v.position);
        const int16_t* src = v.samples + v.position * 2;
        for (size_t k = 0; k < n * 2; ++k) out[k] = static_cast<int16_t>(Clamp16(out[k] + src[k]));
        v.position += n;
        if (v.position >= v.frames) v.playing = false;
    }
    size_t done = 0;
    while (done < frames && !m.music.empty()) {
        MusicBuffer& b = m.music.front();
        const size_t n = std::min(frames - done, b.frames - m.musicPosition);
        const int16_t* src = b.samples + m.musicPosition * 2;
        int16_t* dst = out + done * 2;
        for (size_t k = 0; k < n * 2; ++k) dst[k] = static_cast<int16_t>(Clamp16(dst[k] + src[k]));
        done += n;
        m.musicPosition += n;
        if (m.musicPosition >= b.frames) {
            m.finishedTags.push_back(b.tag);
            m.music.pop_front();
            m.musicPosition = 0;
        }
    }
}

bool MixerOpen(Mixer& m) {
    if (m.musicDoneEvent == 0) {
        const Uint32 type = SDL_RegisterEvents(1);
        m.musicDoneEvent = type == static_cast<Uint32>(-1) ? 0 : type;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "mervox: no sound (%s); the game runs silent\n", SDL_GetError());
        return false;
    }
    // The dummy driver plays into nothing: the game is as silent as with no
    // sound card, and then there is no mixing or music decoding to pay for.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver != nullptr && std::strcmp(driver, "dummy") == 0) {
        std::fprintf(stderr, "mervox: no sound device (dummy audio driver); the game runs silent\n");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = Callback;
    want.userdata = &m;
    SDL_AudioSpec have;
    m.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (m.device == 0) {
        std::fprintf(stderr, "mervox: no sound device (%s); the game runs silent\n", SDL_GetError());
        return false;
    }
    m.rate = have.freq;
    SDL_PauseAudioDevice(m.device, 0);
    return true;
}

void MixerOpenOffline(Mixer& m, int rate) {
    m.offline = true;
    m.rate = rate;
}

bool MixerLive(const Mixer& m) { return m.device != 0 || m.offline; }

void MixerPause(Mixer& m, bool paused) {
    if (m.device != 0) SDL_PauseAudioDevice(m.device, paused ? 1 : 0);
}

void MixerClose(Mixer& m) {
    if (m.device) SDL_CloseAudioDevice(m.device);
    m.device = 0;
    m.offline = false;
    for (MixVoice& v : m.voices) v = MixVoice{};
    m.music.clear();
}

bool MixerWrite(Mixer& m, int voice, const std::vector<int16_t>& samples) {
    if (voice < 0 || voice >= kVoiceCount) return false;
    AudioLock lock(m);
    MixVoice& v = m.voices[voice];
    if (v.playing) return false;
    if (samples.size() < 2) return true;
    v.samples = samples.data();
    v.frames = samples.size() / 2;
    v.position = 0;
    v.playing = MixerLive(m);
    return true;
}

void MixerReset(Mixer& m, int voice) {
    if (voice < 0 || voice >= kVoiceCount) return;
    AudioLock lock(m);
    m.voices[voice].playing = false;
}

void MixerQueueMusic(Mixer& m, const std::vector<int16_t>& samples, int tag) {
    AudioLock lock(m);
    // An empty buffer has nothing to play: it is reported finished at once
    // by the next callback, so the chain of tracks goes on.
    m.music.push_back(MusicBuffer{samples.data(), samples.size() / 2, tag});
    if (!MixerLive(m)) m.music.clear();
}

void MixerResetMusic(Mixer& m) {
    AudioLock lock(m);
    m.music.clear();
    m.musicPosition = 0;
    m.finishedTags.clear();
}

void MixerForgetMusic(Mixer& m, int tag) {
    AudioLock lock(m);
    for (size_t k = 0; k < m.music.size(); ++k) {
        if (m.music[k].tag != tag) continue;
        if (k == 0) m.musicPosition = 0;
        m.music.erase(m.music.begin() + static_cast<std::ptrdiff_t>(k));
        --k;
    }
}

}  // namespace mervox
