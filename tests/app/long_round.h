// A keyboard round with many key changes: recorded through the round's own
// recording path by a greedy scripted player that looks ahead before each
// short move. Short presses make a key change every few updates, several
// hundred over the round; the player seldom clears a level, so the round
// mostly lasts its first minute.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "game/simulation.h"
#include "game/key_bits.h"
#include "support/lcg.h"

namespace mervox::testing {

inline int GoingBlocks(const GameState& g) {
    int n = 0;
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& s : cell) n += s.state == Vanishing || s.state == Fading;
    return n;
}

// Pairs of resting blocks of one colour side by side: groups in the making.
inline int TouchingPairs(const GameState& g) {
    int n = 0;
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& s = g.Board[i][j][l];
                if (s.state != Solid || s.arriveTimer != 0) continue;
                if (i + 1 < kBoardSize) {
                    const BlockSlot& t = g.Board[i + 1][j][l];
                    n += t.state == Solid && t.arriveTimer == 0 && t.colour == s.colour;
                }
                if (j + 1 < kBoardSize) {
                    const BlockSlot& t = g.Board[i][j + 1][l];
                    n += t.state == Solid && t.arriveTimer == 0 && t.colour == s.colour;
                }
            }
    return n;
}

// A move: keys held for some updates, then one update with none held.
struct ScriptedMove {
    int32_t keys;
    int frames;
};

inline void PlayMove(GameState& g, const RoundHost& host, const ScriptedMove& m) {
    for (int f = 0; f < m.frames && g.RunMode != RunTitle; ++f) UpdateRound(g, host, FrameHoldingBits(m.keys));
    if (g.RunMode != RunTitle) UpdateRound(g, host, InputFrame{});
}

// Plays the keyboard round to its end. `lookahead` updates are simulated
// after each candidate move; the final state's InputLog is the recording.
inline std::unique_ptr<GameState> PlayLongRound(int lookahead = 60) {
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
    const RoundHost host;

    std::vector<ScriptedMove> moves;
    for (int32_t dir : {KeyLeft, KeyRight, KeyUp, KeyDown})
        for (int frames : {4, 9, 16}) moves.push_back({dir, frames});
    moves.push_back({KeyKick, 3});
    moves.push_back({KeyJump, 5});
    moves.push_back({KeyTurnQ, 3});
    moves.push_back({KeyTurnE, 3});

    auto trial = std::make_unique<GameState>();
    Lcg rng{12345};
    while (g->RunMode != RunTitle) {
        if (g->ReadyCountdown > 0 || g->TimeLeft <= 0) {
            PlayMove(*g, host, {0, 1});
            continue;
        }
        double best = -1e18;
        size_t bestMove = 0;
        for (size_t a = 0; a < moves.size(); ++a) {
            *trial = *g;
            PlayMove(*trial, host, moves[a]);
            for (int f = 0; f < lookahead && trial->RunMode != RunTitle; ++f) UpdateRound(*trial, host, InputFrame{});
            const double value = static_cast<double>(trial->Score) + 40.0 * GoingBlocks(*trial) +
                                 2000.0 * trial->Level + 25.0 * TouchingPairs(*trial) +
                                 static_cast<double>(rng.Next() >> 24) * 0.05;
            if (value > best) {
                best = value;
                bestMove = a;
            }
        }
        PlayMove(*g, host, moves[bestMove]);
    }
    return g;
}

}  // namespace mervox::testing
