#include "app/export/clip_encoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace mervox {

namespace {

constexpr int kPicturesPerSecond = 60;
// A key picture every five seconds: a player seeking in the clip never
// waits long, and the still board between them costs next to nothing.
constexpr int kKeyPictureEvery = 5 * kPicturesPerSecond;

// What each kind is made of. The pictures are flat colours with one-pixel
// lines: the colour is kept at full resolution (4:4:4), where 4:2:0 would
// halve it and blur every coloured edge into its neighbour, and at a
// quality where blocks' edges and the digits stay sharp.
struct KindTable {
    ClipKind kind;
    const char* ending;
    const char* muxer;
    const char* videoCodec;
    const char* audioCodec;
    int audioBitRate;  // 0: lossless
    // The video codec's options as "name=value" pairs.
    const char* videoOptions[8];
    const char* describe;
};

// VP9: libvpx's real-time mode (the "good" mode takes seven times the
// time for a file a third smaller), rows coded in parallel, its analysis
// at speed 7 of 8 (speed 8 makes a file a quarter larger for no time
// saved), and a constant quality of 20 (about 45 dB from the drawn
// picture: the faint one-pixel grid lines stay single lines; at 32 they
// blur into double ones). H.264: x264 lossless (only the rounding of the
// colour conversion is lost, 62 dB). On these pictures it makes a file
// no larger than its constant quality 12 (43 dB) and takes less time:
// flat areas and repeated edges cost next to nothing either way, and
// lossless skips the transform. 4:4:4 needs the High 4:4:4 Predictive
// profile, which is also all lossless needs. The .mp4 carries AAC, the
// .mkv the sound as mixed, in FLAC at the mixer's own rate.
constexpr KindTable kKinds[] = {
    {ClipKind::WebM, ".webm", "webm", "libvpx-vp9", "libopus", 128000,
     {"deadline=realtime", "cpu-used=7", "row-mt=1", "tile-columns=1", "crf=20", "lag-in-frames=0", nullptr},
     "VP9 4:4:4 (real-time, cpu-used 7, row-mt, constant quality 20) + Opus 128 kb/s 48 kHz"},
    {ClipKind::Mp4, ".mp4", "mp4", "libx264", "aac", 192000,
     {"preset=veryfast", "qp=0", nullptr},
     "H.264 High 4:4:4 lossless (x264 veryfast, qp 0) + AAC 192 kb/s"},
    {ClipKind::Mkv, ".mkv", "matroska", "libx264", "flac", 0,
     {"preset=veryfast", "qp=0", nullptr},
     "H.264 High 4:4:4 lossless (x264 veryfast, qp 0) + FLAC"},
};

const KindTable& TableOf(ClipKind kind) {
    for (const KindTable& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];
}

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

bool EndsWith(const std::string& s, const char* ending) {
    const std::string e(ending);
    if (s.size() < e.size()) return false;
    for (size_t k = 0; k < e.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - e.size() + k])) != e[k]) return false;
    return true;
}

}  // namespace

struct ClipEncoder {
    ClipKind kind = ClipKind::WebM;
    ClipSettings settings;
    std::string path;
    std::string temp;
    AVFormatContext* format = nullptr;
    bool fileOpen = false;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVPacket* packet = nullptr;
    int audioFrameSize = 1024;
    int64_t picturePts = 0;
    int64_t soundPts = 0;
    uint8_t** converted = nullptr;  // the resampler's output, grown as needed
    int convertedCapacity = 0;
};

namespace {

void Free(ClipEncoder* c) {
    if (c == nullptr) return;
    avcodec_free_context(&c->video);
    avcodec_free_context(&c->audio);
    sws_freeContext(c->scaler);
    swr_free(&c->resampler);
    av_frame_free(&c->picture);
    av_frame_free(&c->sound);
    if (c->fifo) av_audio_fifo_free(c->fifo);
    av_packet_free(&c->packet);
    if (c->converted) av_freep(&c->converted[0]);
    av_freep(&c->converted);
    if (c->format) {
        if (c->fileOpen) avio_closep(&c->format->pb);
        avformat_free_context(c->format);
    }
    delete c;
}

void Discard(ClipEncoder* c) {
    const std::string temp = c->temp;
    const bool written = c->fileOpen;
    Free(c);
    if (written) std::remove(temp.c_str());
}

// Writes every packet the codec has ready.
bool Drain(ClipEncoder* c, AVCodecContext* codec, AVStream* stream, std::string& error) {
    for (;;) {
        int r = avcodec_receive_packet(codec, c->packet);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) {
            error = "encoding failed: " + AvError(r);
            return false;
        }
        av_packet_rescale_ts(c->packet, codec->time_base, stream->time_base);
        c->packet->stream_index = stream->index;
        r = av_interleaved_write_frame(c->format, c->packet);
        if (r < 0) {
            error = "writing " + c->path + " failed: " + AvError(r);
            return false;
        }
    }
}

bool Send(ClipEncoder* c, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, std::string& error) {
    const int r = avcodec_send_frame(codec, frame);
    if (r < 0 && r != AVERROR_EOF) {
        error = "encoding failed: " + AvError(r);
        return false;
    }
    return Drain(c, codec, stream, error);
}

bool OpenVideo(ClipEncoder* c, const KindTable& k, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(k.videoCodec);
    if (codec == nullptr) {
        error = std::string("this FFmpeg has no ") + k.videoCodec + " encoder";
        return false;
    }
    AVCodecContext* v = c->video = avcodec_alloc_context3(codec);
    v->width = c->settings.width;
    v->height = c->settings.height;
    v->time_base = AVRational{1, kPicturesPerSecond};
    v->framerate = AVRational{kPicturesPerSecond, 1};
    v->pix_fmt = AV_PIX_FMT_YUV444P;
    v->gop_size = kKeyPictureEvery;
    v->bit_rate = 0;
    // As many threads as the machine has cores (libavcodec's default is
    // one): x264 codes several pictures at once, libvpx its rows.
    v->thread_count = 0;
    // The picture is sRGB made into YUV by BT.601's matrix in video range
    // (swscale's default), and says so, so that players turn it back alike.
    v->color_range = AVCOL_RANGE_MPEG;
    v->colorspace = AVCOL_SPC_SMPTE170M;
    v->color_primaries = AVCOL_PRI_BT709;
    v->color_trc = AVCOL_TRC_IEC61966_2_1;
    if (c->format->oformat->flags & AVFMT_GLOBALHEADER) v->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    for (const char* const* o = k.videoOptions; *o != nullptr; ++o) {
        const std::string pair(*o);
        const size_t eq = pair.find('=');
        av_dict_set(&options, pair.substr(0, eq).c_str(), pair.substr(eq + 1).c_str(), 0);
    }
    const int r = avcodec_open2(v, codec, &options);
    av_dict_free(&options);
    if (r < 0) {
        error = std::string("cannot open the ") + k.videoCodec + " encoder: " + AvError(r);
        return false;
    }
    c->videoStream = avformat_new_stream(c->format, nullptr);
    if (c->videoStream == nullptr) {
        error = "out of memory";
        return false;
    }
    c->videoStream->time_base = v->time_base;
    c->videoStream->avg_frame_rate = v->framerate;
    avcodec_parameters_from_context(c->videoStream->codecpar, v);

    c->scaler = sws_getContext(v->width, v->height, AV_PIX_FMT_BGR0, v->width, v->height, AV_PIX_FMT_YUV444P,
                               SWS_POINT | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr, nullptr, nullptr);
    c->picture = av_frame_alloc();
    c->picture->format = v->pix_fmt;
    c->picture->width = v->width;
    c->picture->height = v->height;
    if (c->scaler == nullptr || av_frame_get_buffer(c->picture, 0) < 0) {
        error = "cannot prepare the picture conversion";
        return false;
    }
    return true;
}

bool OpenAudio(ClipEncoder* c, const KindTable& k, std::string& error) {
    const AVCodec* codec = avcodec_find_encoder_by_name(k.audioCodec);
    if (codec == nullptr) {
        error = std::string("this FFmpeg has no ") + k.audioCodec + " encoder";
        return false;
    }
    AVCodecContext* a = c->audio = avcodec_alloc_context3(codec);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&a->ch_layout, &stereo);
    a->sample_rate = ClipAudioRate(c->kind, c->settings.audioRate);
    a->sample_fmt = codec->sample_fmts != nullptr ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    a->bit_rate = k.audioBitRate;
    a->time_base = AVRational{1, a->sample_rate};
    if (c->format->oformat->flags & AVFMT_GLOBALHEADER) a->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int r = avcodec_open2(a, codec, nullptr);
    if (r < 0) {
        error = std::string("cannot open the ") + k.audioCodec + " encoder: " + AvError(r);
        return false;
    }
    c->audioFrameSize = a->frame_size > 0 ? a->frame_size : 1024;
    c->audioStream = avformat_new_stream(c->format, nullptr);
    if (c->audioStream == nullptr) {
        error = "out of memory";
        return false;
    }
    c->audioStream->time_base = a->time_base;
    avcodec_parameters_from_context(c->audioStream->codecpar, a);

    r = swr_alloc_set_opts2(&c->resampler, &a->ch_layout, a->sample_fmt, a->sample_rate, &stereo,
                            AV_SAMPLE_FMT_S16, c->settings.audioRate, 0, nullptr);
    if (r < 0 || swr_init(c->resampler) < 0) {
        error = "cannot prepare the sound conversion";
        return false;
    }
    c->fifo = av_audio_fifo_alloc(a->sample_fmt, 2, c->audioFrameSize * 4);
    c->sound = av_frame_alloc();
    c->sound->format = a->sample_fmt;
    av_channel_layout_copy(&c->sound->ch_layout, &a->ch_layout);
    c->sound->sample_rate = a->sample_rate;
    c->sound->nb_samples = c->audioFrameSize;
    if (c->fifo == nullptr || av_frame_get_buffer(c->sound, 0) < 0) {
        error = "cannot prepare the sound conversion";
        return false;
    }
    return true;
}

// Encodes `n` samples from the queue (n below the codec's frame size only
// for the last, short frame).
bool EncodeQueued(ClipEncoder* c, int n, std::string& error) {
    AVFrame* f = c->sound;
    if (n != c->audioFrameSize) {
        f = av_frame_alloc();
        f->format = c->audio->sample_fmt;
        av_channel_layout_copy(&f->ch_layout, &c->audio->ch_layout);
        f->sample_rate = c->audio->sample_rate;
        f->nb_samples = n;
        if (av_frame_get_buffer(f, 0) < 0) {
            av_frame_free(&f);
            error = "out of memory";
            return false;
        }
    } else if (av_frame_make_writable(f) < 0) {
        error = "out of memory";
        return false;
    }
    av_audio_fifo_read(c->fifo, reinterpret_cast<void**>(f->data), n);
    f->pts = c->soundPts;
    c->soundPts += n;
    const bool ok = Send(c, c->audio, c->audioStream, f, error);
    if (f != c->sound) av_frame_free(&f);
    return ok;
}

// Converts sound (null: what the resampler still holds) into the queue.
bool Convert(ClipEncoder* c, const int16_t* samples, int frames, std::string& error) {
    const int room = swr_get_out_samples(c->resampler, frames);
    if (room > c->convertedCapacity) {
        if (c->converted) av_freep(&c->converted[0]);
        av_freep(&c->converted);
        if (av_samples_alloc_array_and_samples(&c->converted, nullptr, 2, room, c->audio->sample_fmt, 0) < 0) {
            c->convertedCapacity = 0;
            error = "out of memory";
            return false;
        }
        c->convertedCapacity = room;
    }
    const uint8_t* in[1] = {reinterpret_cast<const uint8_t*>(samples)};
    const int got = swr_convert(c->resampler, c->converted, room, samples ? in : nullptr, samples ? frames : 0);
    if (got < 0) {
        error = "sound conversion failed";
        return false;
    }
    if (got > 0 && av_audio_fifo_write(c->fifo, reinterpret_cast<void**>(c->converted), got) < got) {
        error = "out of memory";
        return false;
    }
    return true;
}

}  // namespace

bool ClipKindOf(const std::string& path, ClipKind& kind) {
    for (const KindTable& k : kKinds)
        if (EndsWith(path, k.ending)) {
            kind = k.kind;
            return true;
        }
    return false;
}

const char* ClipEndings() { return ".webm, .mp4 or .mkv"; }

std::string ClipSettingsText(ClipKind kind) { return TableOf(kind).describe; }

int ClipAudioRate(ClipKind kind, int mixerRate) { return kind == ClipKind::WebM ? 48000 : mixerRate; }

ClipEncoder* OpenClip(const std::string& path, ClipKind kind, const ClipSettings& settings, std::string& error) {
    const KindTable& k = TableOf(kind);
    auto* c = new ClipEncoder;
    c->kind = kind;
    c->settings = settings;
    c->path = path;
    c->temp = path + ".partial";
    av_log_set_level(AV_LOG_ERROR);
    if (avformat_alloc_output_context2(&c->format, nullptr, k.muxer, c->temp.c_str()) < 0 || c->format == nullptr) {
        error = std::string("this FFmpeg cannot write ") + k.muxer;
        Discard(c);
        return nullptr;
    }
    c->packet = av_packet_alloc();
    if (!OpenVideo(c, k, error) || !OpenAudio(c, k, error)) {
        Discard(c);
        return nullptr;
    }
    int r = avio_open(&c->format->pb, c->temp.c_str(), AVIO_FLAG_WRITE);
    if (r < 0) {
        error = "cannot write " + path + ": " + AvError(r);
        Discard(c);
        return nullptr;
    }
    c->fileOpen = true;
    AVDictionary* muxing = nullptr;
    // The index at the front: a shared clip starts playing before it has
    // all arrived.
    if (kind == ClipKind::Mp4) av_dict_set(&muxing, "movflags", "+faststart", 0);
    r = avformat_write_header(c->format, &muxing);
    av_dict_free(&muxing);
    if (r < 0) {
        error = "cannot write " + path + ": " + AvError(r);
        Discard(c);
        return nullptr;
    }
    return c;
}

bool AddClipPicture(ClipEncoder* c, const uint32_t* picture, std::string& error) {
    if (av_frame_make_writable(c->picture) < 0) {
        error = "out of memory";
        return false;
    }
    const uint8_t* planes[1] = {reinterpret_cast<const uint8_t*>(picture)};
    const int strides[1] = {c->settings.width * 4};
    sws_scale(c->scaler, planes, strides, 0, c->settings.height, c->picture->data, c->picture->linesize);
    c->picture->pts = c->picturePts++;
    return Send(c, c->video, c->videoStream, c->picture, error);
}

bool AddClipSound(ClipEncoder* c, const int16_t* samples, size_t frames, std::string& error) {
    if (frames == 0) return true;
    if (!Convert(c, samples, static_cast<int>(frames), error)) return false;
    while (av_audio_fifo_size(c->fifo) >= c->audioFrameSize)
        if (!EncodeQueued(c, c->audioFrameSize, error)) return false;
    return true;
}

bool FinishClip(ClipEncoder* c, std::string& error) {
    bool ok = Convert(c, nullptr, 0, error);
    while (ok && av_audio_fifo_size(c->fifo) >= c->audioFrameSize) ok = EncodeQueued(c, c->audioFrameSize, error);
    // The last stretch of sound is shorter than a codec frame: sent short
    // where the codec takes that, else padded with silence.
    const int rest = ok ? av_audio_fifo_size(c->fifo) : 0;
    if (rest > 0) {
        if (!(c->audio->codec->capabilities & AV_CODEC_CAP_SMALL_LAST_FRAME)) {
            std::vector<uint8_t> silence;
            uint8_t* planes[2] = {};
            const int n = c->audioFrameSize - rest;
            const int bytes = av_samples_get_buffer_size(nullptr, 2, n, c->audio->sample_fmt, 1);
            silence.assign(static_cast<size_t>(std::max(bytes, 0)), 0);
            av_samples_fill_arrays(planes, nullptr, silence.data(), 2, n, c->audio->sample_fmt, 1);
            av_samples_set_silence(planes, 0, n, 2, c->audio->sample_fmt);
            av_audio_fifo_write(c->fifo, reinterpret_cast<void**>(planes), n);
        }
        ok = EncodeQueued(c, av_audio_fifo_size(c->fifo), error);
    }
    ok = ok && Send(c, c->video, c->videoStream, nullptr, error);
    ok = ok && Send(c, c->audio, c->audioStream, nullptr, error);
    if (ok) {
        const int r = av_write_trailer(c->format);
        if (r < 0) {
            error = "writing " + c->path + " failed: " + AvError(r);
            ok = false;
        }
    }
    if (c->fileOpen) {
        if (avio_closep(&c->format->pb) < 0 && ok) {
            error = "writing " + c->path + " failed";
            ok = false;
        }
        c->fileOpen = false;
    }
    const std::string temp = c->temp, path = c->path;
    Free(c);
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot name the clip " + path;
        ok = false;
    }
    if (!ok) std::remove(temp.c_str());
    return ok;
}

void AbandonClip(ClipEncoder* c) {
    if (c != nullptr) Discard(c);
}

}  // namespace mervox
