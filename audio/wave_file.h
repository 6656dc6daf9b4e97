// Reading the game's WAV sound files.
//
// The accepted layout is a canonical RIFF/WAVE PCM file: the format fields
// at bytes 20 to 35 and, at byte 36, either the "data" chunk (samples from
// byte 44) or a "fact" chunk (samples from byte 56).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace mervox {

// The format of the sound output, rewritten by every file read.
struct OutputFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;
};

// One loaded sound: its samples as they stood in the file.
struct WaveSound {
    std::vector<uint8_t> data;
    OutputFormat format;  // the format the samples are in
    bool loaded = false;
};

enum WaveResult : int {
    WaveOk = 0,
    WaveCannotOpen = -1,
    WaveNotWave = -2,
    WaveNotPcm = 3,
    WaveUnknownChunk = -4,
};

// Where the messages about sound files that could not be used go: the text
// (UTF-8 Japanese) with the file's path as caption. The program shows them
// in a message box; with no `show`, they are printed to stderr. A loader
// given no SoundMessages at all fails quietly.
struct SoundMessages {
    std::function<void(const std::string& caption, const std::string& text)> show;
};
inline const SoundMessages kSoundMessagesToStderr{};

void ShowSoundMessage(const SoundMessages* to, const std::string& caption, const std::string& text);

// Reads the file into `sound` and `format` as described above. A data size
// larger than what the file holds is cut to what is there.
int LoadWaveFile(const std::string& path, WaveSound& sound, OutputFormat& format,
                 const SoundMessages* messages = &kSoundMessagesToStderr);

// The same from bytes already in memory (the file's whole contents).
int ParseWaveImage(const std::vector<uint8_t>& file, const std::string& path, WaveSound& sound,
                   OutputFormat& format, const SoundMessages* messages = &kSoundMessagesToStderr);

}  // namespace mervox
