// The thirteen sound effects, the two voice clips and the music, each
// written into the game's snd folder.
#pragma once

#include <string>

#include "tools/assets/synth.h"

namespace mervox_assets {

// Effect k (0 push ... 12 van5) as samples, and its file name.
Mono MakeEffect(int k);
const char* EffectFileName(int k);
inline constexpr int kEffectCount = 13;

// Says `text` with espeak-ng (run as a separate program, its output kept in
// `scratchWav`), then brings it to 44100 Hz and the clip's level. False
// when espeak-ng fails or its output cannot be read.
bool MakeVoice(const std::string& text, const std::string& espeakArgs, const std::string& scratchWav,
               Mono& out, std::string& error);

// Writes the fourteen music parts bgm1-1.ogg ... bgm7-2.ogg into `sndDir`
// using `threads` worker threads. False (with `error` set) on a write error.
bool WriteMusic(const std::string& sndDir, int threads, std::string& error);

}  // namespace mervox_assets
