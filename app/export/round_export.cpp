#include "app/export/round_export.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/common/playback_round.h"
#include "app/desktop/program_audio.h"
#include "app/export/clip_encoder.h"
#include "app/headless/frame_capture.h"
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

void PrintSoundMessage(void*, const std::string& caption, const std::string& text) {
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
        UpdateRound(*g, silent);
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
    ProgramAudioPtr audio = StartOfflineProgramAudio(*g, request.baseDir, SoundMessages{nullptr, PrintSoundMessage});
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
    const RoundHost host = ProgramSoundHost(*audio);
    ProgramStartMusic(*audio);
    ProgramPlayVoice(*audio, VoiceClip::Ready);

    std::vector<uint32_t> picture;
    std::vector<int16_t> sound(static_cast<size_t>(rate / kUpdatesPerSecond + 2) * 2);
    bool ok = true;
    Clock::time_point t = Clock::now();
    for (int k = 1; k <= last && ok; ++k) {
        if (progress.cancel.load()) {
            error = "the export was stopped";
            ok = false;
            break;
        }
        UpdateRound(*g, host);
        times.simulation += Since(t);
        const size_t frames = SoundFramesOf(k, rate);
        ProgramMixOffline(*audio, sound.data(), frames);
        times.mixing += Since(t);
        if (k < request.from) continue;
        DrawCapturedPicture(capture, *g, picture);
        times.drawing += Since(t);
        ok = AddClipPicture(clip, picture.data(), error) && AddClipSound(clip, sound.data(), frames, error);
        times.encoding += Since(t);
        progress.done.fetch_add(1);
    }
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
