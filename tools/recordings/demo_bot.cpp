#include "demo_bot.h"

#include <vector>

#include "game/key_bits.h"
#include "game/simulation.h"

namespace mervox {

namespace {

struct Move {
    int keys;
    int frames;
};

struct BotHost {
    int keys = 0;
    int kicks = 0;
    int jumps = 0;
};

bool BotKey(void* ctx, HostKey key) { return KeyBitsHold(static_cast<BotHost*>(ctx)->keys, key); }

void CountEffect(void* ctx, int effect, bool) {
    auto* h = static_cast<BotHost*>(ctx);
    if (effect == EffectKick) h->kicks++;
    if (effect == EffectJump) h->jumps++;
}

std::vector<Move> Candidates() {
    std::vector<Move> moves;
    for (int dir : {KeyLeft, KeyRight, KeyUp, KeyDown})
        for (int frames : {6, 12, 25, 50}) moves.push_back({dir, frames});
    moves.push_back({KeyKick, 4});
    moves.push_back({KeyJump, 6});
    moves.push_back({KeyTurnQ, 4});
    moves.push_back({KeyTurnE, 4});
    moves.push_back({0, 10});
    return moves;
}

// Runs a move: the keys held for its frames, then two updates with none
// held so the next press counts as fresh.
void RunMove(GameState& g, BotHost& host, RoundHost& rh, const Move& m, int maxFrames) {
    host.keys = m.keys;
    for (int k = 0; k < m.frames && g.RunMode != RunTitle; ++k) {
        if (g.RoundFrame >= maxFrames) host.keys = 0;
        UpdateRound(g, rh);
    }
    host.keys = 0;
    for (int k = 0; k < 2 && g.RunMode != RunTitle; ++k) UpdateRound(g, rh);
}

int BlocksGoing(const GameState& g) {
    int n = 0;
    for (auto& column : g.Board)
        for (auto& cell : column)
            for (auto& s : cell) n += s.state == Vanishing || s.state == Fading;
    return n;
}

// Pairs of resting blocks of one colour that touch: the makings of a group.
int TouchingPairs(const GameState& g) {
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

}  // namespace

std::unique_ptr<GameState> PlayBotRound(const BotOptions& options) {
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, options.runMode, 0);

    BotHost host;
    RoundHost rh;
    rh.ctx = &host;
    rh.keyDown = BotKey;
    rh.writeEffect = CountEffect;

    const std::vector<Move> moves = Candidates();
    auto trial = std::make_unique<GameState>();
    auto trial2 = std::make_unique<GameState>();
    uint32_t rng = options.seed * 2654435761u + 1;

    // The ready countdown: look around a little while the clock waits.
    RunMove(*g, host, rh, Move{0, 150}, options.maxFrames);

    while (g->RunMode != RunTitle && g->RoundFrame < options.maxFrames) {
        double best = -1e18;
        size_t bestMove = moves.size() - 1;
        for (size_t a = 0; a < moves.size(); ++a) {
            *trial = *g;
            BotHost th;
            RoundHost trh = rh;
            trh.ctx = &th;
            RunMove(*trial, th, trh, moves[a], options.maxFrames);
            for (size_t b = 0; b < moves.size(); b += 1) {
                *trial2 = *trial;
                BotHost th2 = th;
                RoundHost trh2 = rh;
                trh2.ctx = &th2;
                RunMove(*trial2, th2, trh2, moves[b], options.maxFrames);
                th2.keys = 0;
                for (int k = 0; k < options.lookahead && trial2->RunMode != RunTitle; ++k)
                    UpdateRound(*trial2, trh2);
                rng = rng * 1664525u + 1013904223u;
                double value = static_cast<double>(trial2->Score) + 40.0 * BlocksGoing(*trial2) +
                               60.0 * trial2->Level + 25.0 * TouchingPairs(*trial2) +
                               static_cast<double>(rng >> 24) * 0.05;
                // A little less for long waits, so the player keeps moving.
                value -= 0.2 * (moves[a].frames + moves[b].frames) * (moves[a].keys == 0);
                const bool kickPart = g->RoundFrame >= 3000 && g->RoundFrame < 4500;
                if (options.favourKicks && kickPart) value += 150.0 * th2.kicks;
                value -= 5.0 * th2.jumps;
                if (value > best) {
                    best = value;
                    bestMove = a;
                }
            }
        }
        RunMove(*g, host, rh, moves[bestMove], options.maxFrames);
    }
    host.keys = 0;
    while (g->RunMode != RunTitle) UpdateRound(*g, rh);
    return g;
}

}  // namespace mervox
