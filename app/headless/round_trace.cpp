#include "app/headless/round_trace.h"

#include <cstdio>

namespace mervox {

namespace {

void Int(std::string& out, long long v) {
    char buf[24];
    int n = std::snprintf(buf, sizeof buf, "%lld", v);
    out.append(buf, static_cast<size_t>(n));
}

// Nine significant digits read back as the same 32-bit float.
void Float(std::string& out, float v) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    out.append(buf, static_cast<size_t>(n));
}

void Key(std::string& out, const char* key) {
    out += '"';
    out += key;
    out += "\":";
}

void IntField(std::string& out, const char* key, long long v) {
    Key(out, key);
    Int(out, v);
    out += ',';
}

// The round's counters, the keys and the generator: "f":..,"t":..,...
void AppendCounters(const GameState& g, std::string& out) {
    IntField(out, "f", g.RoundFrame);
    IntField(out, "t", g.TimeLeft);
    IntField(out, "rc", g.ReadyCountdown);
    IntField(out, "pf", g.PlayFrames);
    IntField(out, "sc", g.Score);
    IntField(out, "ss", g.ShownScore);
    IntField(out, "st", g.ShownTime);
    IntField(out, "lv", g.Level);
    IntField(out, "q", g.LevelQuota);
    IntField(out, "cc", g.ColourCount);
    IntField(out, "cap", g.BlockCap);
    IntField(out, "si", g.SupplyInterval);
    IntField(out, "sd", g.SupplyCountdown);
    IntField(out, "it", g.IdleTimer);
    IntField(out, "bc", g.BlockCount);
    IntField(out, "bcl", g.BlocksCleared);
    IntField(out, "luf", g.LevelUpFlash);
    IntField(out, "eh", g.EscHold);
    IntField(out, "fade", g.FadeLevel);
    IntField(out, "ci", g.CaptionIndex);
    IntField(out, "k", g.KeysNow);
    IntField(out, "li", g.InputLogIndex);
    IntField(out, "rng", g.RandomState);
}

// The player, the view angle and turn, the camera.
void AppendPlayerAndCamera(const GameState& g, std::string& out) {
    Key(out, "p");
    out += '[';
    Float(out, g.PlayerX); out += ',';
    Float(out, g.PlayerY); out += ',';
    Float(out, g.PlayerZ); out += ',';
    Float(out, g.PlayerVelY);
    out += "],";
    IntField(out, "pi", g.PushIntent);
    IntField(out, "pu", g.Pushing ? 1 : 0);
    IntField(out, "al", g.KeyLatch ? 1 : 0);
    Key(out, "va");
    Float(out, g.ViewAngle);
    out += ',';
    IntField(out, "ts", g.TurnSpeed);
    Key(out, "cam");
    out += '[';
    Float(out, g.ViewCamera.x); out += ',';
    Float(out, g.ViewCamera.y); out += ',';
    Float(out, g.ViewCamera.z); out += ',';
    Float(out, g.CameraPitch);
    out += "],";
}

// The refill queue and the chain slots.
void AppendQueueAndChains(const GameState& g, std::string& out) {
    Key(out, "rq");
    out += '[';
    for (int k = 0; k < kRefillQueueLength; ++k) {
        if (k) out += ',';
        Int(out, g.RefillQueue[k]);
    }
    out += "],";

    Key(out, "ch");
    out += '[';
    for (int k = 0; k < kChainSlotCount; ++k) {
        const ChainSlot& c = g.ChainSlots[k];
        if (k) out += ',';
        out += '[';
        Int(out, c.chain); out += ',';
        Int(out, c.count); out += ',';
        Int(out, c.timer); out += ',';
        Int(out, c.mark);
        out += ']';
    }
    out += "],";
}

// The effects started in the update.
void AppendEffects(const std::vector<int>& effects, std::string& out) {
    Key(out, "fx");
    out += '[';
    for (size_t k = 0; k < effects.size(); ++k) {
        if (k) out += ',';
        Int(out, effects[k]);
    }
    out += "],";
}

// Every block slot, row by row, floor before stacked.
void AppendBoard(const GameState& g, std::string& out) {
    Key(out, "b");
    out += '[';
    bool first = true;
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& s = g.Board[i][j][l];
                if (!first) out += ',';
                first = false;
                out += '[';
                Int(out, s.state); out += ',';
                Int(out, s.colour); out += ',';
                Float(out, s.offsetX); out += ',';
                Float(out, s.height); out += ',';
                Float(out, s.offsetZ); out += ',';
                Float(out, s.slideX); out += ',';
                Float(out, s.slideY); out += ',';
                Float(out, s.slideZ); out += ',';
                Int(out, s.groupSize); out += ',';
                Int(out, s.groupMark); out += ',';
                Int(out, s.vanishTimer); out += ',';
                Int(out, s.arriveTimer); out += ',';
                Int(out, s.refillTimer); out += ',';
                Int(out, s.popupSize); out += ',';
                Int(out, s.popupTimer); out += ',';
                Int(out, s.chainLevel); out += ',';
                Int(out, s.chainSlot);
                out += ']';
            }
    out += ']';
}

}  // namespace

void AppendTraceLine(const GameState& g, const std::vector<int>& effects, std::string& out) {
    out += '{';
    AppendCounters(g, out);
    AppendPlayerAndCamera(g, out);
    AppendQueueAndChains(g, out);
    AppendEffects(effects, out);
    AppendBoard(g, out);
    out += "}\n";
}

}  // namespace mervox
