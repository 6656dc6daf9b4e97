// The level-driven music: seven tracks of two parts each, decoded whole on a
// loader thread before they are needed and queued two parts at a time on
// the music output. Each finished first part chooses the next track by the
// current level, so the music changes every five levels, always at the end
// of a track; tracks left behind are freed again.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "audio/sample_convert.h"
#include "audio/wave_file.h"
#include "game/state/game_state.h"

namespace mervox {

constexpr int kMusicSegments = 14;

// The music output; the program connects it to the mixer, tests to a fake.
struct MusicOutput {
    void* ctx = nullptr;
    bool (*open)(void* ctx) = nullptr;
    void (*write)(void* ctx, int segment, const std::vector<int16_t>& pcm) = nullptr;
    void (*reset)(void* ctx) = nullptr;
    void (*unprepare)(void* ctx, int segment) = nullptr;
};

// Decodes one music file (on the loader thread); false when it cannot be
// opened.
using MusicDecoder = bool (*)(void* ctx, const std::string& path, std::vector<int16_t>& pcm);

struct MusicSegment {
    std::vector<int16_t> pcm;
    int user = 0;  // 0 once decoded (prepared) or queued; 1 after unloading
};

struct MusicPlayer {
    std::string baseDir;
    MusicOutput output;
    MusicDecoder decode = nullptr;
    void* decodeCtx = nullptr;
    int outputRate = kOutputRate;  // the rate the device granted; music is converted to it

    bool deviceOpen = false;
    MusicSegment segments[kMusicSegments];
    std::atomic<bool> table[kMusicSegments] = {};  // segment loaded or loading
    int CurrentTrackSegment = 0;
    int NextPairToLoad = 0;
    std::thread loader;
    std::atomic<bool> loaderDone{true};
};

// The file of a segment: "snd/bgm1-1.ogg" ... "snd/bgm7-2.ogg".
std::string MusicSegmentFile(int segment);

void StartMusic(MusicPlayer& p);
void StopMusic(MusicPlayer& p);
void PreloadMusic(MusicPlayer& p, const GameState& g);
void OnMusicBufferDone(MusicPlayer& p, const GameState& g, int segment);
void UnloadMusicPair(MusicPlayer& p, int track);

// Waits until the loader thread has decoded what it was given. Music mixed
// faster than it plays (a video export) waits here after each update, so
// a track is always ready when its level calls for it, as on a player's
// machine, and the same round always gives the same music.
void FinishMusicLoading(MusicPlayer& p);

}  // namespace mervox
