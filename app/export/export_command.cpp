#include "app/export/export_command.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include "app/common/game_folder.h"
#include "app/common/playback_round.h"
#include "app/export/clip_encoder.h"
#include "app/export/round_export.h"

namespace mervox {

namespace {

constexpr int kInterruptedStatus = 130;  // as a shell reports a program ended by Ctrl+C
constexpr long kProgressEveryNs = 250'000'000;

std::string MinutesSeconds(double seconds) {
    const long s = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", s / 60, s % 60);
    return text;
}

void PrintProgress(const ExportProgress& p, double seconds) {
    const int done = p.done.load();
    const int total = p.total.load();
    const double fps = seconds > 0 ? done / seconds : 0;
    const double left = fps > 0 ? (total - done) / fps : 0;
    std::fprintf(stderr, "\rmervox: exporting %d/%d frames, %.0f fps, %s left   ", done, total, fps,
                 MinutesSeconds(left).c_str());
    std::fflush(stderr);
}

}  // namespace

int RunExport(const CommandLine& cmd) {
    const std::string& out = cmd.outDir;
    ClipKind kind;
    if (!ClipKindOf(out, kind)) {
        std::fprintf(stderr, "mervox: cannot export to %s: its name must end in %s\n", out.c_str(), ClipEndings());
        return 1;
    }
    GameFolder folder;
    std::string recording;
    auto g = std::make_unique<GameState>();
    if (!OpenRecording(*g, cmd.mode, cmd.exportPath, folder, recording)) return 1;

    ExportRequest request;
    request.baseDir = folder.dir;
    request.outPath = out;
    request.from = cmd.from;
    request.to = cmd.to;
    request.drawScale = cmd.drawScales.front();

    // Ctrl+C and a polite kill are taken here, between pictures, so the
    // export ends by removing its file: every thread started from now on
    // (the export's and the codecs') inherits the mask.
    sigset_t stops, before;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stops, &before);

    ExportProgress progress;
    ExportTimes times;
    std::string error;
    bool ok = false;
    const auto start = std::chrono::steady_clock::now();
    std::thread worker([&] { ok = ExportRound(*g, request, progress, times, error); });
    const bool terminal = isatty(STDERR_FILENO) != 0;
    bool interrupted = false;
    while (!progress.finished.load()) {
        const timespec wait{0, kProgressEveryNs};
        const int sig = sigtimedwait(&stops, nullptr, &wait);
        if (sig == SIGINT || sig == SIGTERM) {
            interrupted = true;
            progress.cancel.store(true);
        }
        if (terminal && !interrupted && progress.total.load() > 0)
            PrintProgress(progress, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    worker.join();
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (terminal && progress.total.load() > 0) std::fputc('\n', stderr);
    if (interrupted && !ok) {
        std::fprintf(stderr, "mervox: export stopped; nothing written to %s\n", out.c_str());
        return kInterruptedStatus;
    }
    if (!ok) {
        std::fprintf(stderr, "mervox: %s\n", error.c_str());
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int frames = progress.done.load();
    std::printf("mervox: wrote %s: %d frames (%s of play) in %.1f s, %.0f fps; %s\n", out.c_str(), frames,
                MinutesSeconds(frames / 60.0).c_str(), seconds, seconds > 0 ? frames / seconds : 0.0,
                ClipSettingsText(kind).c_str());
    std::printf("mervox: time: simulation %.2f s, drawing %.2f s, mixing %.2f s, encoding %.2f s; peak memory %ld MB\n",
                times.simulation, times.drawing, times.mixing, times.encoding, usage.ru_maxrss / 1024);
    return 0;
}

}  // namespace mervox
