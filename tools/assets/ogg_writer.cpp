#include "tools/assets/ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>

namespace mervox_assets {

namespace {

bool WritePage(FILE* f, const ogg_page& page) {
    return std::fwrite(page.header, 1, page.header_len, f) == size_t(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, f) == size_t(page.body_len);
}

}  // namespace

bool WriteOgg(const std::string& path, const Stereo& s, float quality, int serial, const std::string& title) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = true;

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 2, kSampleRate, quality) != 0) {
        vorbis_info_clear(&vi);
        std::fclose(f);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
    vorbis_comment_add_tag(&vc, "ARTIST", "mervox");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page) != 0) ok = ok && WritePage(f, page);

    const size_t total = s.size();
    size_t pos = 0;
    bool eos = false;
    while (!eos) {
        const size_t chunk = std::min<size_t>(4096, total - pos);
        if (chunk == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
            for (size_t i = 0; i < chunk; ++i) {
                buffer[0][i] = s.left[pos + i];
                buffer[1][i] = s.right[pos + i];
            }
            vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
            pos += chunk;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (!eos && ogg_stream_pageout(&os, &page) != 0) {
                    ok = ok && WritePage(f, page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::fclose(f) == 0 && ok;
}

}  // namespace mervox_assets
