// A round on a board the test lays out itself, driven by keys the test holds.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/key_bits.h"
#include "game/simulation.h"
#include "game/state/board.h"

namespace mervox::testing {

struct TestWorld {
    int held = 0;            // key bits held (KeyLeft ... KeyTurnE)
    bool esc = false;
    bool ctrl = false;
    std::vector<int> effects;        // effect numbers written, in order
    std::vector<bool> restarts;      // whether each was a restart
    int voicesGo = 0;
    int scoreSaves = 0;
    int replaySaves = 0;
};

inline bool WorldKey(void* ctx, HostKey key) {
    auto* w = static_cast<TestWorld*>(ctx);
    if (key == HostKey::Escape) return w->esc;
    if (key == HostKey::Ctrl) return w->ctrl;
    return KeyBitsHold(w->held, key);
}

class RoundTest : public ::testing::Test {
protected:
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    GameState& g = *state;
    TestWorld world;
    RoundHost host;

    void SetUp() override {
        StartRoundOutsideTitle(g, RunGame, 0);
        host.ctx = &world;
        host.keyDown = WorldKey;
        host.writeEffect = [](void* ctx, int k, bool restart) {
            auto* w = static_cast<TestWorld*>(ctx);
            w->effects.push_back(k);
            w->restarts.push_back(restart);
        };
        host.playVoice = [](void* ctx, VoiceClip c) {
            if (c == VoiceClip::Go) static_cast<TestWorld*>(ctx)->voicesGo++;
        };
        host.saveScoresAndConfig = [](void* ctx) { static_cast<TestWorld*>(ctx)->scoreSaves++; };
        host.saveReplay = [](void* ctx) { static_cast<TestWorld*>(ctx)->replaySaves++; };
    }

    // An empty board in play: starting blocks gone, the countdown over, the
    // camera settled, no supplies due for a long while.
    void ClearBoardForPlay() {
        for (int i = 0; i < kBoardSize; ++i)
            for (int j = 0; j < kBoardSize; ++j)
                for (int l = 0; l < kLayers; ++l) {
                    BlockSlot& s = g.Board[i][j][l];
                    s = BlockSlot{};
                    s.height = static_cast<float>(l * 100);
                    s.chainSlot = -1;
                }
        g.ReadyCountdown = 0;
        g.FadeLevel = 0;
        g.SupplyCountdown = 100000;
    }

    BlockSlot& Place(int i, int j, int layer, int colour) {
        BlockSlot& s = g.Board[i][j][layer];
        s = BlockSlot{};
        s.state = Solid;
        s.colour = colour;
        s.height = static_cast<float>(layer * 100);
        s.chainSlot = -1;
        return s;
    }

    void Step(int n = 1) {
        for (int k = 0; k < n; ++k) UpdateRound(g, host);
    }

    // Holds the keys for n updates.
    void Hold(int keys, int n) {
        world.held = keys;
        Step(n);
    }

    int CountEffect(int k) const {
        int n = 0;
        for (int e : world.effects) n += e == k;
        return n;
    }
};

}  // namespace mervox::testing
