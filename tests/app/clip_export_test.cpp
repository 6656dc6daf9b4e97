// Exporting rounds: the endings that choose a kind, the sound mixed with
// no device, a short clip written and its failures leaving nothing, and
// the viewer's clip marks, file names and background export.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/common/playback_round.h"
#include "app/export/clip_encoder.h"
#include "app/export/round_export.h"
#include "app/services/program_audio.h"
#include "app/viewer/clip_export.h"
#include "app/viewer/viewer_keys.h"
#include "app/viewer/watch_overlay.h"
#include "draw/frame_buffer.h"
#include "game/simulation.h"
#include "render/render_resources.h"

namespace mervox::testing {
namespace {

const std::string kGameDir = std::string(MERVOX_BINARY_DIR) + "/game";

std::unique_ptr<GameState> Demo() {
    auto g = std::make_unique<GameState>();
    EXPECT_TRUE(StartPlaybackRound(*g, RunDemo1, kGameDir + "/data/demo1.dat"));
    return g;
}

struct ScratchDir {
    std::filesystem::path dir;
    ScratchDir() {
        dir = std::filesystem::temp_directory_path() /
              ("mervox-clip-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~ScratchDir() { std::filesystem::remove_all(dir); }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }
    size_t Files() const {
        size_t n = 0;
        for (auto& e : std::filesystem::recursive_directory_iterator(dir)) n += e.is_regular_file();
        return n;
    }
};

TEST(ClipEncoderTest, TheEndingChoosesTheKind) {
    ClipKind k = ClipKind::Mkv;
    ASSERT_TRUE(ClipKindOf("round.webm", k));
    EXPECT_EQ(k, ClipKind::WebM);
    ASSERT_TRUE(ClipKindOf("dir.webm/Round.MP4", k));
    EXPECT_EQ(k, ClipKind::Mp4);
    ASSERT_TRUE(ClipKindOf("a.mkv", k));
    EXPECT_EQ(k, ClipKind::Mkv);
    for (const char* bad : {"round.avi", "mp4", "round.mp4.part", "", "round.webmx", ".mk"})
        EXPECT_FALSE(ClipKindOf(bad, k)) << bad;
    EXPECT_EQ(ClipAudioRate(ClipKind::WebM, 44100), 48000) << "Opus has 48 kHz only";
    EXPECT_EQ(ClipAudioRate(ClipKind::Mp4, 44100), 44100);
}

// The round's sound mixed offline: the music and the ready voice are heard
// from the first update, and the same round always gives the same sound
// (the music's decoding is waited for, never raced).
TEST(OfflineSoundTest, TheRoundIsHeardAndAlwaysTheSame) {
    auto mix = [](int updates) {
        auto g = Demo();
        g->BGMMODE = SoundOn;
        ProgramAudioPtr audio = StartOfflineProgramAudio(*g, kGameDir, SoundMessages{});
        EXPECT_EQ(ProgramAudioRate(*audio), 44100);
        const ProgramSoundHost host(*audio);
        ProgramStartMusic(*audio);
        ProgramPlayVoice(*audio, VoiceClip::Ready);
        std::vector<int16_t> all, part(735 * 2);
        for (int k = 0; k < updates; ++k) {
            UpdateRound(*g, host, InputFrame{});
            ProgramMixOffline(*audio, part.data(), 735);
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const std::vector<int16_t> a = mix(240), b = mix(240);
    ASSERT_EQ(a.size(), 240u * 735 * 2);
    EXPECT_EQ(a, b);
    long long energy = 0;
    for (size_t k = 0; k < 735 * 2 * 30; ++k) energy += static_cast<long long>(a[k]) * a[k];
    EXPECT_GT(energy, 0) << "the first half second is silent";
}

TEST(RoundExportTest, AShortClipIsWrittenWholeAndCounted) {
    ScratchDir scratch;
    auto g = Demo();
    ExportRequest r;
    r.baseDir = kGameDir;
    r.outPath = scratch / "clip.mkv";
    r.from = 200;
    r.to = 205;
    ExportProgress p;
    ExportTimes t;
    std::string error;
    ASSERT_TRUE(ExportRound(*g, r, p, t, error)) << error;
    EXPECT_EQ(p.total.load(), 6);
    EXPECT_EQ(p.done.load(), 6);
    EXPECT_TRUE(p.finished.load());
    EXPECT_GT(std::filesystem::file_size(r.outPath), 1000u);
    EXPECT_EQ(scratch.Files(), 1u) << "the temporary file is gone";
    EXPECT_EQ(g->RoundFrame, 0) << "the round handed in is left as it was";
}

TEST(RoundExportTest, FailuresSayWhyAndLeaveNoFile) {
    ScratchDir scratch;
    auto g = Demo();
    const int length = PlaybackRoundLength(*g);
    ASSERT_GT(length, 1000);
    std::ofstream(scratch / "kept.mp4") << "the player's own";
    struct Case {
        std::string out;
        int from, to;
        bool cancel;
        const char* says;
    } cases[] = {
        {scratch / "clip.gif", 1, 10, false, "must end in"},
        {scratch / "clip.mp4", length + 1, 0, false, "the round has frames 1 to"},
        {scratch / "none/clip.webm", 1, 10, false, "cannot write"},
        {scratch / "kept.mp4", 1, 10, true, "stopped"},
    };
    for (const Case& c : cases) {
        ExportRequest r;
        r.baseDir = kGameDir;
        r.outPath = c.out;
        r.from = c.from;
        r.to = c.to;
        ExportProgress p;
        p.cancel.store(c.cancel);
        ExportTimes t;
        std::string error;
        EXPECT_FALSE(ExportRound(*g, r, p, t, error)) << c.out;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.out << ": " << error;
        EXPECT_TRUE(p.finished.load());
    }
    EXPECT_EQ(scratch.Files(), 1u) << "only the player's file is there";
    std::ifstream kept(scratch / "kept.mp4");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "the player's own") << "a stopped export leaves a file at its path as it was";
}

TEST(WatchClipTest, MarksKeepTheirOrderAndDefaultToTheWholeRound) {
    WatchClip c;
    EXPECT_EQ(ClipRangeOf(c, 500).from, 1);
    EXPECT_EQ(ClipRangeOf(c, 500).to, 500);
    MarkClipEnd(c, 300);
    MarkClipStart(c, 100);
    EXPECT_EQ(ClipRangeOf(c, 500).from, 100);
    EXPECT_EQ(ClipRangeOf(c, 500).to, 300);
    MarkClipStart(c, 400);  // past the end: the end goes
    EXPECT_EQ(c.end, -1);
    EXPECT_EQ(ClipRangeOf(c, 500).to, 500);
    MarkClipEnd(c, 50);  // before the start: the start goes
    EXPECT_EQ(c.start, -1);
    EXPECT_EQ(ClipRangeOf(c, 500).from, 1);
    EXPECT_EQ(ClipRangeOf(c, 500).to, 50);
    MarkClipStart(c, 0);
    EXPECT_EQ(ClipRangeOf(c, 500).from, 1) << "a clip starts after the first update";
    MarkClipEnd(c, 900);
    EXPECT_EQ(ClipRangeOf(c, 500).to, 500) << "a clip ends with the round";
}

TEST(WatchClipTest, FileNamesSayTheRecordingAndFramesAndNeverReplace) {
    ScratchDir scratch;
    std::filesystem::create_directories(scratch.dir / "screenshots");
    const std::string first = ClipFilePath(scratch.dir.string(), "data/demo1.dat", ClipRange{120, 480});
    EXPECT_EQ(first, scratch / "screenshots/demo1-frames-120-480.mp4");
    std::ofstream(first) << "x";
    EXPECT_EQ(ClipFilePath(scratch.dir.string(), "data/demo1.dat", ClipRange{120, 480}),
              scratch / "screenshots/demo1-frames-120-480-2.mp4");
}

// A game folder of its own whose data and sounds are the build's.
void LinkGameFiles(const ScratchDir& scratch) {
    for (const char* sub : {"data", "snd"}) {
        std::filesystem::create_directories(scratch.dir / sub);
        for (auto& e : std::filesystem::directory_iterator(kGameDir + "/" + sub))
            std::filesystem::create_symlink(e.path(), scratch.dir / sub / e.path().filename());
    }
}

TEST(WatchClipTest, TheViewerExportRunsBesideTheRoundAndIsCollected) {
    ScratchDir scratch;
    LinkGameFiles(scratch);
    auto g = Demo();
    WatchClip c;
    MarkClipStart(c, 300);
    MarkClipEnd(c, 309);
    ASSERT_TRUE(StartClipExport(c, *g, PlaybackRoundLength(*g), "data/demo1.dat", scratch.dir.string()));
    EXPECT_FALSE(StartClipExport(c, *g, 1000, "data/demo1.dat", scratch.dir.string())) << "one at a time";
    EXPECT_NE(ClipStatusLine(c, 1000).find("exporting frames 300-309"), std::string::npos);
    for (int k = 0; k < 6000 && c.job; ++k) {
        CollectClipExport(c);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(c.job) << "the export did not end";
    EXPECT_EQ(c.note, "clip saved: " + (scratch / "screenshots/demo1-frames-300-309.mp4"));
    EXPECT_TRUE(std::filesystem::exists(scratch / "screenshots/demo1-frames-300-309.mp4"));
}

// A tap of a key: pressed and let go within one pass, then a pass with
// nothing down.
void Tap(WatchSession& s, ControlAction a) {
    ActionFrame tap;
    tap.tap(a);
    ReadWatchKeys(s, tap);
    ReadWatchKeys(s, ActionFrame{});
}

// The clip's marks in the overlay: pixels of the clip's colour in the
// overlay's band and the line above it.
int ClipBandPixels(const WatchSession& s, const RenderResources& res) {
    auto fb = std::make_unique<FrameBuffer>();
    DrawWatch(s, res, *fb);
    int n = 0;
    for (int y = kWatchBandTop - 16; y < kWatchBandBottom; ++y)
        for (int x = 0; x < kFrameWidth; ++x) n += fb->pixels[y * kFrameWidth + x] == 0x0040E0A0u;
    return n;
}

// The viewer's own keys (through the actions' table) mark the clip where
// the round is and export it; the overlay says so.
TEST(WatchClipTest, TheClipKeysMarkAndExportFromTheViewer) {
    ScratchDir scratch;
    LinkGameFiles(scratch);
    WatchSession s;
    std::string error;
    ASSERT_TRUE(OpenWatch(s, kGameDir + "/data/demo1.dat", RunDemo1, 400, error)) << error;
    s.baseDir = scratch.dir.string();
    RenderResources res;
    LoadRenderResources(res, kGameDir);
    s.overlay = true;
    EXPECT_EQ(ClipBandPixels(s, res), 0) << "no clip, no band";

    WatchSeek(s, 500);
    Tap(s, ControlAction::WatchClipStart);
    WatchSeek(s, 511);
    Tap(s, ControlAction::WatchClipEnd);
    EXPECT_EQ(s.clip.start, 500);
    EXPECT_EQ(s.clip.end, 511);
    WatchSeek(s, 3000);  // the knob away from the clip's line
    EXPECT_GT(ClipBandPixels(s, res), 0) << "the marks are shown";
    Tap(s, ControlAction::WatchClipExport);
    ASSERT_TRUE(s.clip.job);
    EXPECT_EQ(WatchFrame(s), 3000) << "the round watched stays where it was";
    for (int k = 0; k < 6000 && s.clip.job; ++k) {
        ReadWatchKeys(s, ActionFrame{});
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_FALSE(s.clip.job) << "the export did not end";
    const std::string clip = scratch / "screenshots/demo1-frames-500-511.mp4";
    EXPECT_EQ(s.clip.note, "clip saved: " + clip);
    EXPECT_TRUE(std::filesystem::exists(clip));
    ReleaseRenderResources(res);
}

}  // namespace
}  // namespace mervox::testing
