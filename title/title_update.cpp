#include "title/title_update.h"

#include <algorithm>
#include <cstdio>

#include "game/game_random.h"
#include "game/simulation.h"
#include "save/input_log_file.h"

namespace mervox {

namespace {

constexpr float kPitchStep = 0.03f;
constexpr float kHeightStep = 0.05f;
constexpr float kDepthStep = 0.4f;
constexpr float kTileStep = 0.1f;
constexpr float kSpinStep = 0.05f;
constexpr float kTileLow = -300.0f;
constexpr float kTileRest = -100.0f;

void SwingCamera(GameState& g) {
    if (g.SwingPhase % 2 == 0) {
        g.CameraPitch += kPitchStep;
        g.ViewCamera.y += kHeightStep;
        g.ViewCamera.z += kDepthStep;
        if (g.CameraPitch >= 60.0f) g.SwingPhase += 1;
    } else {
        g.CameraPitch -= kPitchStep;
        g.ViewCamera.y -= kHeightStep;
        g.ViewCamera.z -= kDepthStep;
        if (g.CameraPitch <= 30.0f) g.SwingPhase = static_cast<uint16_t>((g.SwingPhase + 1) % 4);
    }
}

// Every second floor tile sinks while the board turns one way, then rises
// while it turns back.
void MoveTilesAndSpin(GameState& g) {
    const float spin = kSpinStep * static_cast<float>(static_cast<int>(g.SpinDirection) - 1);
    const bool sinking = g.SwingPhase < 2;
    for (int i = 0; i < kBoardSize; ++i) {
        for (int j = 0; j < kBoardSize; ++j) {
            if ((i + j) % 2 == 0) continue;
            float& y = g.BackgroundGrid[i][j].y;
            y = sinking ? std::max(y - kTileStep, kTileLow) : std::min(y + kTileStep, kTileRest);
        }
    }
    if (sinking) g.ViewAngle += spin;
    else g.ViewAngle -= spin;
}

bool ReplayFileOpens(const std::string& baseDir) {
    std::FILE* f = std::fopen((baseDir + "/" + InputLogFileName(RunReplay)).c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

void StartRound(GameState& g, const TitleHost& h, const InputFrame& in) {
    // The fully white frame is shown before the set-up work.
    h.drawTitleScreen();
    g.RunMode = RunGame;
    if (g.AttractTimer == kAttractDelay) {
        const AttractStep s = ChooseAttractRound(g.DemoIndex, g.ReplayAvailable != 0);
        g.RunMode = s.runMode;
        g.DemoIndex = static_cast<uint16_t>(s.nextIndex);
    }
    ResetScene(g);
    g.StartRequested = 0;
    g.KeyLatch = 0;
    if (PlaysBack(g)) {
        LoadInputLog(g, h.baseDir);
    } else {
        // The key that started the game must not become the round's first
        // input: the round waits until those still down are up.
        g.KeysToRelease = in.downBits() & (HostKeyBit(HostKey::Jump) | HostKeyBit(HostKey::Kick) |
                                           HostKeyBit(HostKey::TurnLeft) | HostKeyBit(HostKey::TurnRight));
    }
    if (g.BGMMODE == SoundOn) h.startMusic();
    if (g.SEMODE == SoundOn) h.playVoice(VoiceClip::Ready);
}

// Returns true when the round was started in this update.
bool Fade(GameState& g, const TitleHost& h, const InputFrame& in) {
    const int f = g.FadeLevel;
    if (f >= 1 && f <= kFadeWhite) {
        if (f == kFadeWhite) TitleReset(g, h);
        g.FadeLevel = std::max(g.FadeLevel - kFadeStep, 0);
    } else if (f > kFadeWhite && f <= kFadeOutEnd) {
        g.FadeLevel = std::min(f + kFadeStep, kFadeOutEnd);
        if (g.FadeLevel == kFadeOutEnd) {
            StartRound(g, h, in);
            return true;
        }
    }
    return false;
}

void Keys(GameState& g, const InputFrame& in) {
    uint8_t& latch = g.KeyLatch;
    if (in.down(HostKey::Kick) && g.StartRequested == 0) {
        g.Playback = PlaybackOff;
        g.StartRequested = 1;
        latch = 1;
    } else if (g.StartRequested == 0 && g.ReplayAvailable != 0 && in.down(HostKey::Replay)) {
        g.Playback = PlaybackOn;
        g.StartRequested = 1;
        latch = 1;
    } else if (g.AttractTimer == kAttractDelay && g.StartRequested == 0) {
        g.Playback = PlaybackOn;
        g.StartRequested = 1;
        latch = 0;
    } else if (latch == 0 && in.down(HostKey::FrameRate)) {
        latch = 1;
        g.FrameSkip = g.FrameSkip % 4 + 1;
    } else if (latch == 0 && in.down(HostKey::Music)) {
        latch = 1;
        g.BGMMODE = g.BGMMODE == SoundOn ? SoundOff : SoundOn;
    } else if (latch == 0 && in.down(HostKey::Effects)) {
        latch = 1;
        g.SEMODE = g.SEMODE == SoundOn ? SoundOff : SoundOn;
    } else if (in.down(HostKey::Escape)) {
        g.QuitRequested = 1;
    } else if (g.StartRequested != 0 && g.FadeLevel < kFadeWhite) {
        g.FadeLevel = kFadeWhite + 1;
    } else if (!in.down(HostKey::FrameRate) && !in.down(HostKey::Music) && !in.down(HostKey::Effects)) {
        latch = 0;
    }
}

}  // namespace

AttractStep ChooseAttractRound(int demoIndex, bool replayAvailable) {
    int used = demoIndex;
    if (used < 0 || used > 5) used = 0;
    if (used == 0 && !replayAvailable) used = 1;
    static constexpr RunModeValue kRunMode[6] = {RunReplay, RunTutorial, RunDemo1, RunTutorial, RunDemo2, RunTutorial};
    return AttractStep{kRunMode[used], (used + 1) % 6};
}

void TitleReset(GameState& g, const TitleHost& h) {
    h.stopMusic();
    const int32_t level = g.Level;
    ResetScene(g);
    g.Level = level;
    PutTitleStartCamera(g);
    GameSeed(g, h.clockMs());
    g.SwingPhase = 0;
    g.AttractTimer = 1;
    g.SpinDirection = static_cast<uint16_t>((GameRand(g) % 2) * 2);
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j) g.BackgroundGrid[i][j].y = kTileRest;
    g.ReplayAvailable = ReplayFileOpens(h.baseDir) ? 1 : 0;
}

void TitleUpdate(GameState& g, const TitleHost& h, const InputFrame& in) {
    // Held over from a round: no update until they are up.
    if (g.KeysToRelease != 0) {
        if ((in.downBits() & g.KeysToRelease) != 0) return;
        g.KeysToRelease = 0;
    }
    if (g.StartRequested == 0) g.AttractTimer += 1;
    SwingCamera(g);
    MoveTilesAndSpin(g);
    TurnBoardPastHalfway(g);
    HandCameraToProjection(g);
    // A round set up in this update takes no title keys: a key still held
    // would otherwise start another game or change the settings.
    if (Fade(g, h, in)) return;
    Keys(g, in);
}

}  // namespace mervox
