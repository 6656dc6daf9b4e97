#include "app/services/screenshot.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "draw/frame_buffer.h"
#include "render/png_writer.h"

namespace mervox {

namespace {

// The first name of the second that is not taken yet.
std::string FreePath(const std::string& dir, const std::tm& t) {
    for (int serial = 1;; ++serial) {
        const std::string path = dir + "/" + ScreenshotFileName(t, serial);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) || serial >= 1000) return path;
    }
}

void WriteOne(ScreenshotWriter& w, const ScreenshotWriter::Job& job) {
    std::error_code ec;
    std::filesystem::create_directories(w.dir, ec);
    const std::string path = FreePath(w.dir, job.time);
    const int n = job.scale, width = kFrameWidth * n, height = kFrameHeight * n;
    const int origin = kPictureOrigin * n;
    const bool ok = !ec && WriteFramePng(path, job.frame.data(), width, height, origin, origin, width, height, true);
    if (ok) std::fprintf(stderr, "mervox: screenshot %s\n", path.c_str());
    else std::fprintf(stderr, "mervox: cannot write the screenshot %s\n", path.c_str());
    std::lock_guard<std::mutex> guard(w.lock);
    (ok ? w.written : w.failed) += 1;
}

void Work(ScreenshotWriter* w) {
    // Below the main loop, so that on a busy machine the updates come first
    // and the pictures wait (on Linux the nice value is the thread's own).
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    for (;;) {
        ScreenshotWriter::Job job;
        {
            std::unique_lock<std::mutex> guard(w->lock);
            w->wake.wait(guard, [w] { return w->stopping || !w->jobs.empty(); });
            if (w->jobs.empty()) return;
            job = std::move(w->jobs.front());
            w->jobs.pop_front();
        }
        WriteOne(*w, job);
    }
}

}  // namespace

std::string ScreenshotFileName(const std::tm& t, int serial) {
    char name[64];
    std::snprintf(name, sizeof name, "mervox-%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    std::string s = name;
    if (serial > 1) s += "-" + std::to_string(serial);
    return s + ".png";
}

void StartScreenshotWriter(ScreenshotWriter& w, const std::string& writeDir) {
    w.dir = writeDir + "/screenshots";
    w.stopping = false;
    w.worker = std::thread(Work, &w);
}

void StopScreenshotWriter(ScreenshotWriter& w) {
    if (!w.worker.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        w.stopping = true;
    }
    w.wake.notify_one();
    w.worker.join();
}

bool TakeScreenshot(ScreenshotWriter& w, const uint32_t* frame, const std::tm& now, int scale) {
    ScreenshotWriter::Job job;
    if (scale < 1) scale = 1;
    job.scale = scale;
    job.frame.assign(frame, frame + static_cast<size_t>(kFrameWidth) * kFrameHeight * scale * scale);
    job.time = now;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        if (!w.worker.joinable() || w.jobs.size() >= kMaxPendingScreenshots) {
            std::fprintf(stderr, "mervox: screenshot skipped: %zu pictures are still being written\n",
                         w.jobs.size());
            return false;
        }
        w.jobs.push_back(std::move(job));
    }
    w.wake.notify_one();
    return true;
}

}  // namespace mervox
