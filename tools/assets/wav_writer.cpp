#include "tools/assets/wav_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace mervox_assets {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(v & 0xff);
    b.push_back((v >> 8) & 0xff);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xffff);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int16_t ToPcm(float v) {
    const float c = std::clamp(v, -1.0f, 1.0f);
    return static_cast<int16_t>(std::lround(c * 32767.0f));
}

}  // namespace

bool WriteWav(const std::string& path, const Mono& m) {
    const uint32_t frames = static_cast<uint32_t>(m.size());
    const uint32_t dataBytes = frames * 4;
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    PutTag(b, "RIFF");
    Put32(b, 36 + dataBytes);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);                 // PCM
    Put16(b, 2);                 // stereo
    Put32(b, kSampleRate);
    Put32(b, kSampleRate * 4);   // bytes per second
    Put16(b, 4);                 // block alignment
    Put16(b, 16);                // bits per sample
    PutTag(b, "data");
    Put32(b, dataBytes);
    for (float v : m) {
        const uint16_t s = static_cast<uint16_t>(ToPcm(v));
        Put16(b, s);
        Put16(b, s);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadWavMono(const std::string& path, Mono& out, int& sampleRate) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> b;
    uint8_t chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) b.insert(b.end(), chunk, chunk + n);
    std::fclose(f);
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return false;
    int channels = 0, bits = 0;
    size_t pos = 12;
    while (pos + 8 <= b.size()) {
        const uint32_t size = Get32(b.data() + pos + 4);
        const uint8_t* body = b.data() + pos + 8;
        const size_t avail = b.size() - (pos + 8);
        if (std::memcmp(b.data() + pos, "fmt ", 4) == 0 && avail >= 16) {
            if (Get16(body) != 1) return false;
            channels = Get16(body + 2);
            sampleRate = static_cast<int>(Get32(body + 4));
            bits = Get16(body + 14);
        } else if (std::memcmp(b.data() + pos, "data", 4) == 0) {
            if (bits != 16 || channels < 1 || channels > 2) return false;
            const size_t bytes = std::min<size_t>(size, avail);
            const size_t frames = bytes / (2 * channels);
            out.resize(frames);
            for (size_t i = 0; i < frames; ++i) {
                double s = 0;
                for (int c = 0; c < channels; ++c)
                    s += static_cast<int16_t>(Get16(body + (i * channels + c) * 2));
                out[i] = static_cast<float>(s / channels / 32768.0);
            }
            return true;
        }
        pos += 8 + size + (size & 1);
    }
    return false;
}

}  // namespace mervox_assets
