// Decoding music parts and mixing voices: what the loader thread and the
// audio callback cost.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/ogg_decode.h"

namespace mervox {
namespace {

void BM_DecodeMusicPart(benchmark::State& st) {
    const std::string path = std::string(MERVOX_GAME_DIR) + "/snd/bgm" + std::to_string(st.range(0)) + "-1.ogg";
    size_t bytes = 0;
    for (auto _ : st) {
        std::vector<int16_t> pcm;
        OutputFormat format;
        if (DecodeOggFile(path, pcm, format) != OggOk) {
            st.SkipWithError("music file missing: build the assets first");
            break;
        }
        bytes = pcm.size() * sizeof(int16_t);
    }
    st.counters["decoded_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_DecodeMusicPart)->Arg(1)->Arg(7)->Unit(benchmark::kMillisecond);

void BM_MixFourteenVoices(benchmark::State& st) {
    Mixer m;
    std::vector<int16_t> sound(2 * 44100, 1000);
    for (int v = 0; v < kVoiceCount; ++v) m.voices[v] = MixVoice{sound.data(), 44100, 0, true};
    m.music.push_back(MusicBuffer{sound.data(), 44100, 0});
    std::vector<int16_t> out(2 * 512);
    for (auto _ : st) {
        for (MixVoice& v : m.voices) {
            v.position = 0;
            v.playing = true;
        }
        m.musicPosition = 0;
        std::fill(out.begin(), out.end(), 0);
        MixInto(m, out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixFourteenVoices);

}  // namespace
}  // namespace mervox
