// One update of a round, in its fixed order.
#include <algorithm>

#include "game/block_pass.h"
#include "game/camera_follow.h"
#include "game/effects.h"
#include "game/game_random.h"
#include "game/key_bits.h"
#include "game/link_points.h"
#include "game/matching.h"
#include "game/tutorial_captions.h"
#include "game/player.h"
#include "game/round_end.h"
#include "game/simulation.h"
#include "game/supply.h"
#include "game/update_events.h"

namespace mervox {

namespace {

constexpr int kAttractFrameLimit = 5400;

void EnterHighScore(GameState& g, const RoundHost& host) {
    for (int i = 0; i < 3; ++i) {
        if (g.HighScores[i] < g.Score) {
            for (int k = 2; k > i; --k) g.HighScores[k] = g.HighScores[k - 1];
            g.HighScores[i] = g.Score;
            host.saveScoresAndConfig();
            return;
        }
    }
}

void EndRound(GameState& g, const RoundHost& host, const InputFrame& in) {
    if (!PlaysBack(g) && g.ShownScore == g.HighScores[0]) host.saveReplay();
    if (g.BGMMODE == SoundOn) host.stopMusic();
    g.RunMode = RunTitle;
    // Keys that skipped the end screen must not also act on the title.
    g.KeysToRelease = in.downBits() & (HostKeyBit(HostKey::Kick) | HostKeyBit(HostKey::Replay));
}

void RunClock(GameState& g, const RoundHost& host, const InputFrame& in) {
    if (g.ReadyCountdown < 1) {
        g.TimeLeft -= 1;
        if (g.TimeLeft > 0) g.PlayFrames += 1;
        if (g.TimeLeft < 600 && g.TimeLeft % 60 == 59) PlayEffect(g, host, EffectTick);
        if (g.TimeLeft == kHighScoreEntryTime && !PlaysBack(g)) EnterHighScore(g, host);
        if (g.TimeLeft < kFadeOutBelow) g.FadeLevel = std::min(g.FadeLevel + kFadeStep, kFadeWhite);
        if (g.TimeLeft < kRoundOverBelow) EndRound(g, host, in);
    } else {
        g.ReadyCountdown -= 1;
        g.FadeLevel = std::max(g.FadeLevel - kFadeStep, 0);
        if (g.ReadyCountdown == 0) PlayVoiceClip(g, host, VoiceClip::Go);
    }
}

void TurnStep(GameState& g) {
    if (g.TurnSpeed != 0) {
        g.ViewAngle += static_cast<float>(g.TurnSpeed);
        TurnBoardPastHalfway(g);
    }
    if (g.ViewAngle == 0.0f) g.TurnSpeed = 0;
}

void LevelUp(GameState& g, const RoundHost& host) {
    const int L = g.Level + 1;
    const int q = L / 5;
    RestartEffect(g, host, EffectExtend);
    g.Level = L;
    g.ColourCount = std::min(q, 2) + 2;
    if (L >= 30) g.ColourCount = 5;
    g.LevelQuota += 28 + 2 * (L - 5 * g.ColourCount);
    g.BlockCap = 2 * (L - 3 * g.ColourCount) + 22;
    g.SupplyInterval = 60 * std::max(10 - 4 * std::min(q, 1) - L, 4);
    if (L >= 15) g.LevelQuota -= (5 * q - L + 4) * (q - 1);
    if (g.RunMode == RunTutorial) g.TimeLeft += 600;
    else g.TimeLeft += 60 * std::max(21 - L, 10);
    g.LevelUpFlash = 60;
    g.Events.levelUp = 1;
    GameSeed(g, static_cast<uint32_t>(g.PlayFrames / 60));
}

void ReadInput(GameState& g, const InputFrame& in) {
    g.KeysPrev = g.KeysNow;
    if (!PlaysBack(g)) {
        const int32_t keys = RoundKeyBits(in);
        g.KeysNow = keys;
        if (!(keys & kArrowBits)) g.KeyLatch = 0;
    } else if (g.InputLogIndex >= 0 && g.InputLogIndex < kInputLogLength) {
        const InputRecord& r = g.InputLog[g.InputLogIndex];
        if (r.frame == g.RoundFrame) {
            g.KeysNow = r.keys;
            if (!(r.keys & kArrowBits)) g.KeyLatch = 0;
            g.InputLogIndex += 1;
        }
    }
}

void PlaybackControlsAndEarlyEnd(GameState& g, const InputFrame& in) {
    if (PlaysBack(g)) {
        if (in.down(HostKey::Ctrl) && g.TimeLeft >= 1 && g.EscHold == 0) {
            g.FastForward = static_cast<uint16_t>((g.FastForward + 1) % 10);
            if (g.FastForward % 2 == 0 && g.FramePhase % 2 == 1 && g.FrameSkip % 2 == 0)
                g.FastForward = static_cast<uint16_t>(g.FastForward + 1);
        } else {
            g.FastForward = 0;
        }
        if (in.down(HostKey::Kick) && g.RunMode > RunGame && g.TimeLeft > 0 && g.EscHold == 0) {
            g.EscHold = kEscHoldToEnd;
            g.TimeLeft = kFadeOutBelow;
        }
    }

    const bool esc = in.down(HostKey::Escape);
    if (esc && g.PlayFrames >= 1) {
        if (g.TimeLeft > 0) g.EscHold = static_cast<uint16_t>(g.EscHold + 1);
    } else if (g.TimeLeft >= 1) {
        g.EscHold = 0;
    }
    const bool attractLimit =
        g.RoundFrame > kAttractFrameLimit &&
        (g.RunMode == RunReplay || g.RunMode == RunDemo1 || g.RunMode == RunDemo2);
    if (g.TimeLeft > 0 && (g.EscHold >= kEscHoldToEnd || attractLimit)) {
        g.EscHold = kEscHoldToEnd;
        g.TimeLeft = kFadeOutBelow;
    }
}

void RecordInput(GameState& g) {
    if (PlaysBack(g) || g.KeysNow == g.KeysPrev) return;
    // The log holds 6000 changes; a round with more simply stops recording.
    if (g.InputLogIndex < 0 || g.InputLogIndex >= kInputLogLength) return;
    g.InputLog[g.InputLogIndex] = InputRecord{g.RoundFrame, static_cast<uint16_t>(g.KeysNow)};
    g.InputLogIndex += 1;
}

// The score adds up in 32 bits, wrapping as the game's does.
uint32_t LinkPoints(const ChainSlot& c) {
    return static_cast<uint32_t>(c.count) * static_cast<uint32_t>(LinkPointsPerBlock(c.count, c.chain));
}

void PayChainLinks(GameState& g) {
    for (ChainSlot& c : g.ChainSlots) {
        if (c.timer <= 0) continue;
        if (c.timer == kChainLinkLife) {
            // Made in this update, with every block that joined it.
            NoteLinkPaid(g, c);
            if (g.TimeLeft > 0) g.Score += LinkPoints(c);
        }
        c.timer -= 1;
        if (c.timer == 0) {
            c.chain = 0;
            c.count = 0;
            c.mark = 0;
        }
    }
}

}  // namespace

void UpdateRound(GameState& g, const RoundHost& host, const InputFrame& in, SlotVisits visits) {
    // Held over from the round's start: no update until they are up.
    if (g.KeysToRelease != 0) {
        if ((in.downBits() & g.KeysToRelease) != 0) return;
        g.KeysToRelease = 0;
    }
    ClearUpdateEvents(g);
    AgeEffectCooldowns(g);
    g.RoundFrame += 1;
    RunClock(g, host, in);
    if (g.LevelUpFlash != 0) g.LevelUpFlash -= 1;
    if (g.ShownTime < g.TimeLeft) g.ShownTime += 60;
    else g.ShownTime = g.TimeLeft;
    if (g.RunMode == RunTutorial && g.CaptionIndex < 4) {
        const TutorialCaption& c = kTutorialCaptions[g.CaptionIndex];
        if (static_cast<uint32_t>(c.start + c.length) < static_cast<uint32_t>(g.RoundFrame))
            g.CaptionIndex += 1;
    }
    if (g.ShownScore < g.Score) {
        PlayEffect(g, host, EffectCnt);
        g.ShownScore = std::min(g.ShownScore + 10u, g.Score);
    }
    TurnStep(g);
    g.IdleTimer = std::min(g.IdleTimer + 1, 600);
    host.preloadMusic();
    IdleSupply(g, host);
    RefillSupply(g, host);
    if (g.LevelQuota < 1 && g.TimeLeft > 0) LevelUp(g, host);
    ReadInput(g, in);
    PlaybackControlsAndEarlyEnd(g, in);
    RecordInput(g);
    UpdatePlayer(g, host);
    UpdateCamera(g);
    TimedSupply(g, host);
    UpdateBlocks(g, host, visits);
    PayChainLinks(g);
}

}  // namespace mervox
