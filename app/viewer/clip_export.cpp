#include "app/viewer/clip_export.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace mervox {

namespace {

// Clips go with the screenshots, in the kind every player and site takes
// most readily.
constexpr const char* kClipEnding = ".mp4";

}  // namespace

ClipExportJob::~ClipExportJob() {
    progress.cancel.store(true);
    if (worker.joinable()) worker.join();
}

void MarkClipStart(WatchClip& c, int frame) {
    c.start = std::max(frame, 1);
    if (c.end >= 0 && c.end < c.start) c.end = -1;
}

void MarkClipEnd(WatchClip& c, int frame) {
    c.end = std::max(frame, 1);
    if (c.start >= 0 && c.start > c.end) c.start = -1;
}

ClipRange ClipRangeOf(const WatchClip& c, int lastFrame) {
    const int last = std::max(lastFrame, 1);
    const int from = c.start < 0 ? 1 : std::min(c.start, last);
    const int to = c.end < 0 ? last : std::clamp(c.end, from, last);
    return ClipRange{from, to};
}

std::string ClipFilePath(const std::string& writeDir, const std::string& recording, ClipRange range) {
    const std::string name = std::filesystem::path(recording).stem().string();
    const std::string stem = writeDir + "/screenshots/" + (name.empty() ? "round" : name) + "-frames-" +
                             std::to_string(range.from) + "-" + std::to_string(range.to);
    std::string path = stem + kClipEnding;
    std::error_code ec;
    for (int serial = 2; std::filesystem::exists(path, ec); ++serial)
        path = stem + "-" + std::to_string(serial) + kClipEnding;
    return path;
}

bool StartClipExport(WatchClip& c, const GameState& roundStart, int lastFrame, const std::string& recording,
                     const std::string& writeDir) {
    if (c.job) {
        c.note = "an export is running already";
        return false;
    }
    const ClipRange range = ClipRangeOf(c, lastFrame);
    std::error_code ec;
    std::filesystem::create_directories(writeDir + "/screenshots", ec);
    auto job = std::make_unique<ClipExportJob>();
    job->start = std::make_unique<GameState>(roundStart);
    job->request.baseDir = writeDir;
    job->request.outPath = ClipFilePath(writeDir, recording, range);
    job->request.from = range.from;
    job->request.to = range.to;
    job->progress.total.store(range.to - range.from + 1);
    ClipExportJob* j = job.get();
    job->worker = std::thread([j] { j->ok = ExportRound(*j->start, j->request, j->progress, j->times, j->error); });
    c.job = std::move(job);
    c.note.clear();
    return true;
}

void CollectClipExport(WatchClip& c) {
    if (!c.job || !c.job->progress.finished.load()) return;
    c.job->worker.join();
    if (c.job->ok) {
        c.note = "clip saved: " + c.job->request.outPath;
        std::printf("mervox: %s\n", c.note.c_str());
        std::fflush(stdout);
    } else {
        c.note = "no clip: " + c.job->error;
        std::fprintf(stderr, "mervox: %s\n", c.note.c_str());
    }
    c.job.reset();
}

std::string ClipStatusLine(const WatchClip& c, int lastFrame) {
    char buf[200];
    if (c.job) {
        const int total = std::max(c.job->progress.total.load(), 1);
        const int done = c.job->progress.done.load();
        std::snprintf(buf, sizeof buf, "exporting frames %d-%d: %d%%", c.job->request.from, c.job->request.to,
                      done * 100 / total);
        return buf;
    }
    if (!c.note.empty()) return c.note;
    if (c.start < 0 && c.end < 0) return "";
    const ClipRange r = ClipRangeOf(c, lastFrame);
    std::snprintf(buf, sizeof buf, "clip: frames %d-%d", r.from, r.to);
    return buf;
}

}  // namespace mervox
