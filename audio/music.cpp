#include "audio/music.h"

#include <algorithm>
#include <cstdio>

namespace mervox {

namespace {

void WaitForLoader(MusicPlayer& p) {
    if (p.loader.joinable()) p.loader.join();
    p.loaderDone.store(true, std::memory_order_release);
}

bool LoaderEnded(const MusicPlayer& p) { return p.loaderDone.load(std::memory_order_acquire); }

// Runs on the loader thread: decodes one segment into its record.
void LoadMusicSegment(MusicPlayer& p, int s) {
    if (!p.deviceOpen) return;
    p.table[s].store(true, std::memory_order_release);
    MusicSegment& seg = p.segments[s];
    seg.pcm.clear();
    seg.pcm.shrink_to_fit();
    if (p.decode) p.decode(p.decodeCtx, p.baseDir + "/" + MusicSegmentFile(s), seg.pcm);
    // A device that granted another rate than asked for plays the music at
    // that rate: convert it as the effects are, or it plays fast and high.
    if (p.outputRate != kOutputRate && !seg.pcm.empty()) {
        std::vector<uint8_t> bytes(seg.pcm.size() * 2);
        for (size_t k = 0; k < seg.pcm.size(); ++k) {
            const uint16_t v = static_cast<uint16_t>(seg.pcm[k]);
            bytes[2 * k] = static_cast<uint8_t>(v & 0xFF);
            bytes[2 * k + 1] = static_cast<uint8_t>(v >> 8);
        }
        seg.pcm = ConvertToOutput(bytes.data(), bytes.size(), 16, kOutputChannels, kOutputRate, p.outputRate);
    }
    seg.user = 0;  // prepared on the output
}

void StartLoader(MusicPlayer& p) {
    if (p.loader.joinable()) p.loader.join();
    p.loaderDone.store(false, std::memory_order_release);
    const int first = p.NextPairToLoad;
    p.loader = std::thread([&p, first] {
        LoadMusicSegment(p, first);
        LoadMusicSegment(p, first + 1);
        p.loaderDone.store(true, std::memory_order_release);
    });
}

void Queue(MusicPlayer& p, int s) {
    p.segments[s].user = 0;
    if (p.output.write) p.output.write(p.output.ctx, s, p.segments[s].pcm);
}

int TargetSegment(const GameState& g) { return std::min(2 * (g.Level / 5), 12); }

}  // namespace

std::string MusicSegmentFile(int segment) {
    char name[32];
    std::snprintf(name, sizeof name, "snd/bgm%d-%d.ogg", segment / 2 + 1, segment % 2 + 1);
    return name;
}

void StartMusic(MusicPlayer& p) {
    WaitForLoader(p);
    p.NextPairToLoad = 0;
    p.deviceOpen = p.output.open ? p.output.open(p.output.ctx) : false;
    StartLoader(p);
    WaitForLoader(p);
    p.NextPairToLoad = 2;
    StartLoader(p);
    if (!p.deviceOpen) return;
    Queue(p, 0);
    Queue(p, 1);
}

void UnloadMusicPair(MusicPlayer& p, int track) {
    const int a = 2 * track, b = a + 1;
    for (int s : {a, b})
        if (p.table[s].load(std::memory_order_acquire)) p.segments[s].user = 1;
    if (p.deviceOpen && p.table[a].load(std::memory_order_acquire) && p.output.unprepare) {
        for (int s : {a, b})
            if (p.table[s].load(std::memory_order_acquire)) p.output.unprepare(p.output.ctx, s);
    }
    for (int s : {a, b}) {
        if (!p.table[s].load(std::memory_order_acquire)) continue;
        p.segments[s].pcm.clear();
        p.segments[s].pcm.shrink_to_fit();
        p.table[s].store(false, std::memory_order_release);
    }
}

void StopMusic(MusicPlayer& p) {
    WaitForLoader(p);
    if (!p.deviceOpen) return;
    if (p.output.reset) p.output.reset(p.output.ctx);
    for (int k = 0; k < 7; ++k) UnloadMusicPair(p, k);
    p.deviceOpen = false;
}

void PreloadMusic(MusicPlayer& p, const GameState& g) {
    const int t = g.Level / 5;
    if (2 * t >= kMusicSegments) return;
    if (p.table[2 * t].load(std::memory_order_acquire) || !p.deviceOpen || g.RunMode == RunTitle) return;
    if (!LoaderEnded(p)) return;
    p.NextPairToLoad = 2 * t;
    StartLoader(p);
}

void OnMusicBufferDone(MusicPlayer& p, const GameState& g, int h) {
    if (h < 0 || h >= kMusicSegments || g.QuitRequested) return;
    if (!p.table[h].load(std::memory_order_acquire)) return;  // not a loaded segment
    if (h % 2 == 0) {
        // Only a segment that is not being decoded right now can be judged.
        if ((h & ~1) == p.NextPairToLoad && !LoaderEnded(p)) WaitForLoader(p);
        if (p.segments[h].user != 0) return;
        int n = TargetSegment(g);
        while (n >= 0 && !p.table[n].load(std::memory_order_acquire)) n -= 2;
        if (n < 0) return;
        p.CurrentTrackSegment = n;
        if (n >= p.NextPairToLoad) {
            WaitForLoader(p);
            if (n < 12) {
                p.NextPairToLoad = n + 2;
                StartLoader(p);
            }
        }
        Queue(p, n);
    } else {
        if ((h & ~1) == p.NextPairToLoad && !LoaderEnded(p)) WaitForLoader(p);
        if (p.segments[h].user != 0) return;
        const int i = h / 2;
        for (int j = 0; j < i; ++j)
            if (p.table[2 * j].load(std::memory_order_acquire)) UnloadMusicPair(p, j);
        Queue(p, p.CurrentTrackSegment + 1);
    }
}

void FinishMusicLoading(MusicPlayer& p) { WaitForLoader(p); }

}  // namespace mervox
