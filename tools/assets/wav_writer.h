// Canonical 44-byte-header PCM WAV files: 44100 Hz, 16-bit, stereo.
#pragma once

#include <string>

#include "tools/assets/synth.h"

namespace mervox_assets {

// Writes `m` to both channels. False when the file cannot be written.
bool WriteWav(const std::string& path, const Mono& m);

// Reads a 16-bit PCM WAV (any rate, one or two channels; chunks found by
// name) as mono floats. False when the file is missing or not of that kind.
bool ReadWavMono(const std::string& path, Mono& out, int& sampleRate);

}  // namespace mervox_assets
