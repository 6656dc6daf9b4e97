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

// The keys the world holds, as one pass's input.
inline InputFrame WorldKeys(const TestWorld& w) {
    InputFrame in = FrameHoldingBits(w.held);
    if (w.esc) in.held = static_cast<uint16_t>(in.held | HostKeyBit(HostKey::Escape));
    if (w.ctrl) in.held = static_cast<uint16_t>(in.held | HostKeyBit(HostKey::Ctrl));
    return in;
}

// Effects, voices and saves noted in the world.
class WorldHost final : public RoundHost {
public:
    explicit WorldHost(TestWorld& w) : w_(w) {}
    void writeEffect(int k, bool restart) const override {
        w_.effects.push_back(k);
        w_.restarts.push_back(restart);
    }
    void playVoice(VoiceClip c) const override {
        if (c == VoiceClip::Go) w_.voicesGo++;
    }
    void saveScoresAndConfig() const override { w_.scoreSaves++; }
    void saveReplay() const override { w_.replaySaves++; }

private:
    TestWorld& w_;
};

class RoundTest : public ::testing::Test {
protected:
    std::unique_ptr<GameState> state = std::make_unique<GameState>();
    GameState& g = *state;
    TestWorld world;
    WorldHost host{world};

    void SetUp() override { StartRoundOutsideTitle(g, RunGame, PlaybackOff); }

    // An empty board in play: starting blocks gone, the countdown over, the
    // camera settled, no supplies due for a long while.
    void ClearBoardForPlay() {
        for (int i = 0; i < kBoardSize; ++i)
            for (int j = 0; j < kBoardSize; ++j)
                for (int l = 0; l < kLayers; ++l) {
                    BlockSlot& s = g.Board[i][j][l];
                    s = BlockSlot{};
                    s.height = static_cast<float>(l * 100);
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
        return s;
    }

    void Step(int n = 1) {
        for (int k = 0; k < n; ++k) UpdateRound(g, host, WorldKeys(world));
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
