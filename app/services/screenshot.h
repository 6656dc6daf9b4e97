// The screenshot key: the frame on the screen goes to
// screenshots/mervox-YYYYMMDD-HHMMSS.png in the folder the program writes
// to. The main loop only copies the frame; a worker thread encodes and
// writes it, so taking pictures never delays an update.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mervox {

// The file name for a picture taken at local time `t`; `serial` above 1
// tells apart pictures taken in the same second ("-2", "-3", ...).
std::string ScreenshotFileName(const std::tm& t, int serial);

struct ScreenshotWriter {
    std::string dir;  // <write folder>/screenshots
    std::mutex lock;
    std::condition_variable wake;
    struct Job {
        std::vector<uint32_t> frame;
        int scale = 1;
        std::tm time;
    };
    std::deque<Job> jobs;  // under the lock
    bool stopping = false; // under the lock
    long written = 0;      // under the lock
    long failed = 0;       // under the lock
    std::thread worker;
};

// Pictures waiting beyond this many are refused (a held F12 on a slow disk).
constexpr size_t kMaxPendingScreenshots = 8;

void StartScreenshotWriter(ScreenshotWriter& w, const std::string& writeDir);
// Writes the pictures still waiting, then ends the worker.
void StopScreenshotWriter(ScreenshotWriter& w);

// Copies the 640 x 480 picture the window shows (from pixel (1, 1) of the
// frame; N x 640 by N x 480 from (N, N) for a frame drawn at scale N) and
// hands it to the worker. False, with a line on stderr, when too many
// pictures are waiting.
bool TakeScreenshot(ScreenshotWriter& w, const uint32_t* frame, const std::tm& now, int scale = 1);

}  // namespace mervox
