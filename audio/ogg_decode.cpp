#include "audio/ogg_decode.h"

#include <vorbis/vorbisfile.h>

#include <new>

#include "audio/sample_convert.h"

namespace mervox {

int DecodeOggFile(const std::string& path, std::vector<int16_t>& pcm, OutputFormat& format,
                  const SoundMessages* messages) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return OggCannotOpen;
    const vorbis_info* info = ov_info(&vf, -1);
    const int channels = info ? info->channels : 2;
    const int rate = info ? static_cast<int>(info->rate) : kOutputRate;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);

    format.formatTag = 1;
    format.channels = static_cast<uint16_t>(channels);
    format.bitsPerSample = 16;
    format.blockAlign = static_cast<uint16_t>(2 * channels);
    format.avgBytesPerSec = format.blockAlign * format.samplesPerSec;

    std::vector<uint8_t> raw;
    try {
        if (total > 0) raw.reserve(static_cast<size_t>(total) * 2 * static_cast<size_t>(channels));
    } catch (const std::bad_alloc&) {
        ov_clear(&vf);
        ShowSoundMessage(messages, path, "メモリ領域の確保に失敗しました");
        return OggNoMemory;
    }
    // Bytes, not characters: the samples' bytes go into `raw` unchanged.
    unsigned char scratch[4096];
    int section = 0;
    for (;;) {
        const long got = ov_read(&vf, reinterpret_cast<char*>(scratch), sizeof scratch, 0, 2, 1, &section);
        if (got <= 0) break;  // end of stream, or damage: keep what came before
        raw.insert(raw.end(), scratch, scratch + got);
    }
    ov_clear(&vf);
    pcm = ConvertToOutput(raw.data(), raw.size(), 16, channels, rate);
    return OggOk;
}

}  // namespace mervox
