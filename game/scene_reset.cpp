// The scene reset that starts every round and every title screen.
#include "game/game_random.h"
#include "game/simulation.h"
#include "game/round_end.h"
#include "game/state/board.h"

namespace mervox {

void ResetScene(GameState& g) {
    for (int a = 0; a < 8; ++a) {
        for (int b = 0; b < 8; ++b) {
            Vertex& v = g.BoardGrid[a][b];
            v.x = kCellSize * static_cast<float>(a);
            v.y = 0.0f;
            v.z = kCellSize * static_cast<float>(b);
            Vertex& w = g.BackgroundGrid[a][b];
            w.x = kBackgroundTile * static_cast<float>(a) + kBackgroundCorner;
            w.y = kBackgroundLevel;
            w.z = kBackgroundTile * static_cast<float>(b) + kBackgroundCorner;
        }
    }

    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                BlockSlot s{};
                s.height = RestHeight(l) - kBlockHeight;  // below its rest
                g.Board[i][j][l] = s;
            }

    for (int& c : g.ColourCounts) c = 0;
    for (int& q : g.RefillQueue) q = -1;

    if (!PlaysBack(g)) {
        for (InputRecord& r : g.InputLog) r = InputRecord{0, 0};
    }

    g.PlayerX = 348.0f;
    g.PlayerY = 0.0f;
    g.PlayerZ = 48.0f;
    g.PushIntent = 0;
    g.Pushing = 0;
    g.ViewCamera.x = 348.0f;
    g.ViewCamera.y = 800.0f;
    g.ViewCamera.z = -152.0f;
    g.CameraPitch = 90.0f;
    g.ViewAngle = 0.0f;
    g.TurnSpeed = 0;
    g.DrawCamera.x = 348.0f;
    g.DrawCamera.y = 300.0f;
    g.DrawCamera.z = -152.0f;

    g.TimeLeft = 3600;
    g.ReadyCountdown = 180;
    g.FadeLevel = kFadeWhite;
    g.Level = 1;
    g.ColourCount = 2;
    g.LevelQuota = 10;
    g.BlockCap = 10;
    g.SupplyInterval = 600;
    g.SupplyCountdown = 1200;
    g.ShownTime = 0;
    g.IdleTimer = 0;
    g.BlocksCleared = 0;
    g.Score = 0;
    g.ShownScore = 0;
    g.LevelUpFlash = 0;
    g.RoundFrame = 0;
    g.PlayFrames = 0;
    g.KeysNow = 0;
    g.KeysPrev = 0;
    g.InputLogIndex = 0;
    g.CaptionIndex = 0;

    GameSeed(g, 5);

    // The eight starting blocks rise into view after their announcement.
    static constexpr int kStart[8][3] = {
        {3, 2, 0}, {3, 4, 0}, {1, 1, 0}, {5, 5, 0},
        {2, 3, 1}, {4, 3, 1}, {1, 5, 1}, {5, 1, 1},
    };
    for (const auto& b : kStart) {
        BlockSlot& s = g.Board[b[0]][b[1]][0];
        s.state = Solid;
        s.colour = b[2];
        s.arriveTimer = 60;
    }
}

void PutTitleStartCamera(GameState& g) {
    g.DrawCamera.x = 350.0f;
    g.DrawCamera.y = 400.0f;
    g.DrawCamera.z = -200.0f;
    g.CameraPitch = 30.0f;
    g.CameraPitchRad = 30.0f * DegToRad;
    g.ViewAngle = 0.0f;
    g.ViewAngleRad = 0.0f;
    g.ViewCamera = g.DrawCamera;
}

void StartRoundOutsideTitle(GameState& g, RunModeValue runMode, PlaybackValue playback) {
    InitProgramState(g);
    ResetScene(g);
    g.BGMMODE = SoundOff;
    g.Playback = playback;
    g.RunMode = runMode;
    ResetScene(g);
    g.StartRequested = 0;
    g.KeyLatch = 0;
}

}  // namespace mervox
