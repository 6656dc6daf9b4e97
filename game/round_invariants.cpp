#include "game/round_invariants.h"

#include "game/round_end.h"

namespace mervox {

namespace {

// Collects the first fault only: later checks are skipped once one is found.
struct Faults {
    std::string first;

    bool Check(bool ok, const char* what) {
        if (!ok && first.empty()) first = what;
        return ok;
    }
    void CheckSlot(bool ok, const char* what, int i, int j, int layer) {
        if (ok || !first.empty()) return;
        first = std::string(what) + " (slot " + std::to_string(i) + "," + std::to_string(j) + " layer " +
                std::to_string(layer) + ")";
    }
};

void CheckPlayerAndView(const GameState& g, Faults& f) {
    f.Check(g.PlayerX >= 16.0f && g.PlayerX <= 684.0f, "player x outside the board");
    f.Check(g.PlayerZ >= 16.0f && g.PlayerZ <= 684.0f, "player z outside the board");
    // The highest footing is an arriving block on the upper layer (300),
    // then a whole jump above it.
    f.Check(g.PlayerY >= 0.0f && g.PlayerY <= 400.0f + 126.5f, "player height out of range");
    f.Check(g.ViewAngle >= -45.0f && g.ViewAngle <= 45.0f, "view angle past a quarter turn");
    f.Check(g.TurnSpeed == 0 || g.TurnSpeed == 2 || g.TurnSpeed == -2, "turn speed not 0 or 2");
}

void CheckCounters(const GameState& g, Faults& f) {
    f.Check(g.ReadyCountdown >= 0, "ready countdown below 0");
    f.Check(g.TimeLeft >= kLastTimeLeft, "clock ran past the round's end");
    f.Check(g.FadeLevel >= 0 && g.FadeLevel <= kFadeWhite, "fade level out of 0..80");
    f.Check(g.LevelUpFlash >= 0 && g.LevelUpFlash <= 60, "level-up flash out of 0..60");
    f.Check(g.EscHold <= kEscHoldToEnd, "escape hold past 60");
    f.Check(g.CaptionIndex >= 0 && g.CaptionIndex < kCaptionCount, "caption index out of the table");
    f.Check(g.InputLogIndex >= 0 && g.InputLogIndex <= kInputLogLength, "input log index out of the log");
    f.Check(g.Level >= 1 && g.ColourCount >= 2 && g.ColourCount <= 5, "level or colour count out of range");
    f.Check(g.ShownScore <= g.Score, "shown score ahead of the score");
    f.Check(g.LastChainSlot >= -1 && g.LastChainSlot < kChainSlotCount, "last chain slot out of the table");
    for (int t : g.EffectCooldown) f.Check(t >= 0, "effect cooldown below 0");
    bool gap = false;
    for (int q : g.RefillQueue) {
        f.Check(q >= -1 && q < 5, "refill queue holds no colour");
        if (q == -1) gap = true;
        else f.Check(!gap, "refill queue not packed at the front");
    }
    for (const ChainSlot& c : g.ChainSlots) f.Check(c.timer >= 0 && c.timer <= 120, "chain slot timer out of 0..120");
}

// The census counts solid and vanishing blocks earlier in the update, and
// only colours in play can be on the board.
void CheckCensus(const GameState& g, Faults& f) {
    int sum = 0;
    for (int c = 0; c < 5; ++c) {
        f.Check(g.ColourCounts[c] >= 0, "colour count below 0");
        if (c >= g.ColourCount) f.Check(g.ColourCounts[c] == 0, "a colour not in play is counted");
        sum += g.ColourCounts[c];
    }
    f.Check(g.BlockCount >= 0 && g.BlockCount <= kSlotCount, "block count out of 0..98");
    f.Check(sum <= g.BlockCount, "colour counts add up to more than the block count");
}

void CheckSlots(const GameState& g, Faults& f) {
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& s = g.Board[i][j][l];
                f.CheckSlot(s.state >= Empty && s.state <= Fading, "slot state unknown", i, j, l);
                if (s.state == Empty) continue;
                f.CheckSlot(s.colour >= 0 && s.colour < g.ColourCount, "colour not in play", i, j, l);
                f.CheckSlot(s.offsetX >= -96.0f && s.offsetX <= 96.0f, "x slide past the next cell", i, j, l);
                f.CheckSlot(s.offsetZ >= -96.0f && s.offsetZ <= 96.0f, "z slide past the next cell", i, j, l);
                f.CheckSlot(s.height >= -240.0f && s.height <= 700.0f, "block height out of range", i, j, l);
                f.CheckSlot(s.chainSlot >= -1 && s.chainSlot < kChainSlotCount, "chain slot out of the table", i, j,
                            l);
                f.CheckSlot(s.arriveTimer >= 0 && s.arriveTimer <= 60, "arrival timer out of 0..60", i, j, l);
                f.CheckSlot(s.vanishTimer <= 181, "vanish timer past its sentinel", i, j, l);
                f.CheckSlot(s.refillTimer >= 0 && s.refillTimer <= 120, "refill timer out of 0..120", i, j, l);
            }
}

}  // namespace

std::string FindRoundFault(const GameState& g) {
    Faults f;
    CheckPlayerAndView(g, f);
    CheckCounters(g, f);
    CheckCensus(g, f);
    CheckSlots(g, f);
    return f.first;
}

}  // namespace mervox
