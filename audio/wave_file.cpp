#include "audio/wave_file.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace mervox {

namespace {

uint16_t Read16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

bool Tag(const std::vector<uint8_t>& b, size_t at, const char* tag) {
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

void ShowSoundMessage(const SoundMessages* to, const std::string& caption, const std::string& text) {
    if (to == nullptr) return;
    if (to->show) to->show(caption, text);
    else std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

int ParseWaveImage(const std::vector<uint8_t>& file, const std::string& path, WaveSound& sound,
                   OutputFormat& format, const SoundMessages* messages) {
    auto ShowSoundMessage = [&](const std::string& caption, const std::string& text) {
        mervox::ShowSoundMessage(messages, caption, text);
    };
    if (!Tag(file, 8, "WAVE")) {
        ShowSoundMessage(path, "WAVEファイルを指定してください");
        return WaveNotWave;
    }
    // The format fields are taken before the PCM test, as the device that
    // follows is opened with them either way.
    if (file.size() >= 36) {
        format.formatTag = Read16(file, 20);
        format.channels = Read16(file, 22);
        format.samplesPerSec = Read32(file, 24);
        format.avgBytesPerSec = Read32(file, 28);
        format.blockAlign = Read16(file, 32);
        format.bitsPerSample = Read16(file, 34);
        format.extraSize = 0;
    }
    if (file.size() < 36 || format.formatTag != 1) {
        ShowSoundMessage(path, "PCM形式のWAVEファイルを指定してください");
        return WaveNotPcm;
    }
    size_t start;
    if (Tag(file, 36, "fact")) {
        start = 56;
    } else if (Tag(file, 36, "data")) {
        start = 44;
    } else {
        ShowSoundMessage(path, "正体不明のファイルです");
        return WaveUnknownChunk;
    }
    size_t size = file.size() >= start ? Read32(file, start - 4) : 0;
    const size_t available = file.size() > start ? file.size() - start : 0;
    if (size > available) size = available;
    sound.data.assign(file.begin() + static_cast<std::ptrdiff_t>(std::min(start, file.size())),
                      file.begin() + static_cast<std::ptrdiff_t>(std::min(start, file.size()) + size));
    sound.format = format;
    sound.loaded = true;
    return WaveOk;
}

int LoadWaveFile(const std::string& path, WaveSound& sound, OutputFormat& format,
                 const SoundMessages* messages) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ShowSoundMessage(messages, path, "ファイルを開けません");
        return WaveCannotOpen;
    }
    std::vector<uint8_t> file;
    uint8_t chunk[4096];
    while (in.read(reinterpret_cast<char*>(chunk), sizeof chunk) || in.gcount() > 0)
        file.insert(file.end(), chunk, chunk + in.gcount());
    return ParseWaveImage(file, path, sound, format, messages);
}

}  // namespace mervox
