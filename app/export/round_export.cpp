#include "app/export/round_export.h"

#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <vector>

#include "app/common/playback_round.h"
#include "app/export/clip_encoder.h"
#include "app/headless/frame_capture.h"
#include "app/services/program_audio.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"

namespace mervox {

namespace {

constexpr int kUpdatesPerSecond = 60;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point& t) {
    const Clock::time_point now = Clock::now();
    const double s = std::chrono::duration<double>(now - t).count();
    t = now;
    return s;
}

void PrintSoundMessage(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "mervox: %s: %s\n", caption.c_str(), text.c_str());
}

// Marks the progress finished however the export ends.
struct FinishedMark {
    ExportProgress& progress;
    ~FinishedMark() { progress.finished.store(true); }
};

// The stereo frames of sound that belong to update `k` (1-based) at `rate`:
// the updates share the second's frames without drift.
size_t SoundFramesOf(int k, int rate) {
    const long long r = rate;
    return static_cast<size_t>(k * r / kUpdatesPerSecond - (k - 1) * r / kUpdatesPerSecond);
}

}  // namespace

int PlaybackRoundLength(const GameState& start) {
    auto g = std::make_unique<GameState>(start);
    const RoundHost silent;
    for (long n = 0; g->RunMode != RunTitle; ++n) {
        if (n >= kUpdateLimit) return -1;
        UpdateRound(*g, silent, InputFrame{});
    }
    return g->RoundFrame;
}

bool ExportRound(const GameState& start, const ExportRequest& request, ExportProgress& progress,
                 ExportTimes& times, std::string& error) {
    FinishedMark mark{progress};
    ClipKind kind;
    if (!ClipKindOf(request.outPath, kind)) {
        error = "cannot export to " + request.outPath + ": its name must end in " + ClipEndings();
        return false;
    }
    const int length = PlaybackRoundLength(start);
    if (length < 0) {
        error = "the round does not end";
        return false;
    }
    const int last = request.to <= 0 ? length : std::min(request.to, length);
    if (request.from < 1 || request.from > last) {
        error = "the round has frames 1 to " + std::to_string(length) + "; the clip would start at " +
                std::to_string(request.from) + " and end at " + std::to_string(last);
        return false;
    }
    progress.total.store(last - request.from + 1);

    auto g = std::make_unique<GameState>(start);
    // Everything a player hears: the title starts the music and the
    // "ready" voice with the round, whatever the recording's settings.
    g->BGMMODE = SoundOn;
    g->SEMODE = SoundOn;
    FrameCapture* capture = OpenFrameCapture(request.baseDir, request.drawScale);
    if (capture == nullptr) {
        error = "pictures cannot be drawn in this build";
        return false;
    }
    ProgramAudioPtr audio = StartOfflineProgramAudio(*g, request.baseDir, SoundMessages{PrintSoundMessage});
    const int rate = ProgramAudioRate(*audio);
    const int scale = CaptureScale(capture);
    ClipSettings settings;
    settings.width = kFrameWidth * scale;
    settings.height = kFrameHeight * scale;
    settings.audioRate = rate;
    ClipEncoder* clip = OpenClip(request.outPath, kind, settings, error);
    if (clip == nullptr) {
        CloseFrameCapture(capture);
        return false;
    }
    const ProgramSoundHost host(*audio);
    ProgramStartMusic(*audio);
    ProgramPlayVoice(*audio, VoiceClip::Ready);

    // Two pictures and their sound: while the encoder takes one on a
    // thread of its own, the next update is played, mixed and drawn into
    // the other, so drawing and encoding share the machine's cores.
    struct Slot {
        std::vector<uint32_t> picture;
        std::vector<int16_t> sound;
        size_t frames = 0;
    } slots[2];
    for (Slot& s : slots) s.sound.resize(static_cast<size_t>(rate / kUpdatesPerSecond + 2) * 2);
    std::future<bool> encoding;  // the slot being encoded
    double encodeSeconds = 0;    // written by the encoding task only
    std::string encodeError;     // likewise
    auto finishEncoding = [&]() {
        if (!encoding.valid()) return true;
        if (encoding.get()) return true;
        error = encodeError;
        return false;
    };
    bool ok = true;
    int next = 0;
    Clock::time_point t = Clock::now();
    for (int k = 1; k <= last && ok; ++k) {
        if (progress.cancel.load()) {
            error = "the export was stopped";
            ok = false;
            break;
        }
        Slot& slot = slots[next];
        UpdateRound(*g, host, InputFrame{});
        times.simulation += Since(t);
        slot.frames = SoundFramesOf(k, rate);
        ProgramMixOffline(*audio, slot.sound.data(), slot.frames);
        times.mixing += Since(t);
        if (k < request.from) continue;
        DrawCapturedPicture(capture, *g, slot.picture);
        times.drawing += Since(t);
        ok = finishEncoding();
        Since(t);  // waiting for the encoder is counted by the encoder
        if (!ok) break;
        const Slot* taken = &slot;
        encoding = std::async(std::launch::async, [clip, taken, &encodeSeconds, &encodeError, &progress] {
            Clock::time_point e = Clock::now();
            const bool done = AddClipPicture(clip, taken->picture.data(), encodeError) &&
                              AddClipSound(clip, taken->sound.data(), taken->frames, encodeError);
            encodeSeconds += Since(e);
            if (done) progress.done.fetch_add(1);
            return done;
        });
        next ^= 1;
    }
    if (!finishEncoding()) ok = false;
    times.encoding += encodeSeconds;
    CloseFrameCapture(capture);
    StopProgramAudio(audio);
    if (!ok) {
        AbandonClip(clip);
        return false;
    }
    t = Clock::now();
    ok = FinishClip(clip, error);
    times.encoding += Since(t);
    return ok;
}

}  // namespace mervox
