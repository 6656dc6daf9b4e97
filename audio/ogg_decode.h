// Decoding a whole Ogg Vorbis music file into memory.
#pragma once

#include <string>
#include <vector>

#include "audio/wave_file.h"

namespace mervox {

enum OggResult : int { OggOk = 0, OggCannotOpen = -1, OggNoMemory = -2 };

// Decodes the file completely and converts it to the output format (16-bit
// stereo at 44.1 kHz). Rewrites `format` as the music device expects it: PCM,
// the stream's channels, 16 bits, the sample rate left as it was. A decoding
// error part-way keeps what was decoded before it. Running out of memory is
// reported to `messages`.
int DecodeOggFile(const std::string& path, std::vector<int16_t>& pcm, OutputFormat& format,
                  const SoundMessages* messages = &kSoundMessagesToStderr);

}  // namespace mervox
