// Decoding music files: a small Ogg Vorbis file is encoded here, then read
// back whole, cut short, and looked for where it does not exist.
#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/ogg_decode.h"

namespace mervox::testing {
namespace {

namespace fs = std::filesystem;

// Writes `frames` frames of a 440 Hz tone at `rate` with `channels` channels.
void WriteOgg(const std::string& path, long rate, int channels, int frames) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    ASSERT_EQ(vorbis_encode_init_vbr(&vi, channels, rate, 0.3f), 0);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    std::ofstream out(path, std::ios::binary);
    auto writePage = [&](const ogg_page& pg) {
        out.write(reinterpret_cast<const char*>(pg.header), pg.header_len);
        out.write(reinterpret_cast<const char*>(pg.body), pg.body_len);
    };
    ogg_packet h0, h1, h2;
    vorbis_analysis_headerout(&vd, &vc, &h0, &h1, &h2);
    ogg_stream_packetin(&os, &h0);
    ogg_stream_packetin(&os, &h1);
    ogg_stream_packetin(&os, &h2);
    ogg_page pg;
    while (ogg_stream_flush(&os, &pg)) writePage(pg);

    int done = 0;
    bool eos = false;
    while (!eos) {
        const int n = std::min(1024, frames - done);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int f = 0; f < n; ++f)
                for (int c = 0; c < channels; ++c)
                    buf[c][f] = 0.5f * std::sin(2.0f * 3.14159265f * 440.0f * static_cast<float>(done + f) /
                                                static_cast<float>(rate));
            vorbis_analysis_wrote(&vd, n);
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &pg)) {
                    writePage(pg);
                    if (ogg_page_eos(&pg)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
}

class OggDecodeTest : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() / ("mervox_ogg_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(OggDecodeTest, WholeFileBecomesStereoAtTheOutputRateAndSetsTheFormat) {
    const std::string path = (dir / "mono.ogg").string();
    WriteOgg(path, 22050, 1, 22050);  // one second, mono, half rate
    std::vector<int16_t> pcm;
    OutputFormat format;
    format.samplesPerSec = 22050;  // left by the last effect file read
    ASSERT_EQ(DecodeOggFile(path, pcm, format), OggOk);
    EXPECT_EQ(pcm.size(), 2u * 44100u) << "one second at 44.1 kHz, two channels";
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(format.blockAlign, 2);
    EXPECT_EQ(format.samplesPerSec, 22050u) << "the rate is not taken from the stream";
    EXPECT_EQ(format.avgBytesPerSec, 44100u);
    int peak = 0;
    for (size_t k = 0; k < pcm.size(); k += 2) {
        EXPECT_EQ(pcm[k], pcm[k + 1]) << "mono goes to both sides";
        peak = std::max(peak, std::abs(static_cast<int>(pcm[k])));
    }
    EXPECT_GT(peak, 12000) << "the tone is there";
}

TEST_F(OggDecodeTest, MissingOrCutFilesAreHandled) {
    std::vector<int16_t> pcm = {5, 5};
    OutputFormat format;
    format.channels = 7;
    EXPECT_EQ(DecodeOggFile((dir / "none.ogg").string(), pcm, format), OggCannotOpen);
    EXPECT_EQ(format.channels, 7) << "nothing changed for a file that cannot be opened";
    EXPECT_EQ(pcm.size(), 2u);

    const std::string whole = (dir / "whole.ogg").string();
    WriteOgg(whole, 44100, 2, 8 * 44100);
    std::vector<int16_t> full;
    ASSERT_EQ(DecodeOggFile(whole, full, format), OggOk);
    ASSERT_EQ(full.size(), 2u * 8u * 44100u);

    // The file cut a quarter before its end: what comes before the cut is kept.
    std::ifstream in(whole, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string cut = (dir / "cut.ogg").string();
    std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size() * 3 / 4));
    std::vector<int16_t> part;
    ASSERT_EQ(DecodeOggFile(cut, part, format), OggOk);
    EXPECT_GT(part.size(), full.size() / 4);
    EXPECT_LT(part.size(), full.size());
    for (size_t k = 0; k < part.size(); k += 997) ASSERT_EQ(part[k], full[k]) << "at sample " << k;

    // Garbage after an Ogg header page is no music.
    const std::string junk = (dir / "junk.ogg").string();
    std::ofstream(junk, std::ios::binary) << "OggS but not really a stream";
    EXPECT_EQ(DecodeOggFile(junk, pcm, format), OggCannotOpen);
}

}  // namespace
}  // namespace mervox::testing
