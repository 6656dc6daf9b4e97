// Ogg Vorbis encoding of the music parts (libvorbisenc, variable bit rate).
#pragma once

#include <string>

#include "tools/assets/synth.h"

namespace mervox_assets {

// Encodes `s` (44100 Hz stereo) at `quality` (-0.1 to 1.0) into `path` with a
// fixed stream serial number, so the same input gives the same file.
bool WriteOgg(const std::string& path, const Stereo& s, float quality, int serial, const std::string& title);

}  // namespace mervox_assets
