// The sound output: independent voices added together in one SDL audio
// callback. Each effect has its own voice, so different effects overlap and
// never cut each other off; a voice still playing refuses a new sound, and a
// reset silences it at once. The music voice plays a queue of buffers and
// reports each finished one to the main thread through SDL's event queue.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace mervox {

constexpr int kEffectVoices = 13;
constexpr int kVoiceClipVoice = 13;  // ready / go
constexpr int kVoiceCount = 14;

// A sound in the output format (16-bit stereo), owned by its loader; the
// mixer only points at it while it plays.
struct MixVoice {
    const int16_t* samples = nullptr;
    size_t frames = 0;
    size_t position = 0;
    bool playing = false;
};

struct MusicBuffer {
    const int16_t* samples;
    size_t frames;
    int tag;  // reported back when it has played
};

struct Mixer {
    uint32_t device = 0;            // the audio device; 0: silent, every call does nothing
    bool offline = false;           // no device: the owner pulls the sound with MixInto
    int rate = 44100;
    uint32_t musicDoneEvent = 0;    // event type registered for finished music
    MixVoice voices[kVoiceCount];
    std::deque<MusicBuffer> music;  // first one playing
    size_t musicPosition = 0;
    std::vector<int> finishedTags;  // filled in the callback (under the lock)
};

// Opens the default device at 44.1 kHz stereo. On failure the mixer stays
// silent and says so once on standard error. Returns whether it opened.
bool MixerOpen(Mixer& m);
void MixerClose(Mixer& m);

// Mixes with no device at all (a video export): voices and music play as
// on a device, and the owner pulls each stretch of sound with MixInto and
// hands the finished music buffers (m.finishedTags) on itself. Touches no
// part of SDL.
void MixerOpenOffline(Mixer& m, int rate);

// Whether sounds written now will be heard: a device is open, or the
// mixer runs offline.
bool MixerLive(const Mixer& m);

// Starts a sound on a voice; refused (false) while that voice still plays.
bool MixerWrite(Mixer& m, int voice, const std::vector<int16_t>& samples);
// Silences a voice at once.
void MixerReset(Mixer& m, int voice);

// Queues a music buffer; `tag` comes back in the finished-music event.
void MixerQueueMusic(Mixer& m, const std::vector<int16_t>& samples, int tag);
// Drops every queued music buffer without reporting them.
void MixerResetMusic(Mixer& m);
// Forgets a queued music buffer whose samples are about to be freed.
void MixerForgetMusic(Mixer& m, int tag);

// Holds every voice where it is (the game paused) or lets them go on.
void MixerPause(Mixer& m, bool paused);

// Adds all playing voices into `out` (frames x 2 samples), advancing them.
// Finished music buffers are appended to m.finishedTags. Used by the
// callback and by tests.
void MixInto(Mixer& m, int16_t* out, size_t frames);

}  // namespace mervox
