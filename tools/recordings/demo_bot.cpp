#include "demo_bot.h"

#include <algorithm>
#include <cstdlib>
#include <queue>
#include <utility>

#include "game/key_bits.h"
#include "game/simulation.h"
#include "game/state/board.h"

namespace mervox {

namespace {

// A round being played: its state and what it has shown so far.
struct Sim {
    std::unique_ptr<GameState> g = std::make_unique<GameState>();
    RoundEvents ev;

    Sim() = default;
    Sim(const Sim& o) : g(std::make_unique<GameState>(*o.g)), ev(o.ev) {}
    Sim& operator=(const Sim& o) {
        *g = *o.g;
        ev = o.ev;
        return *this;
    }

    bool Running() const { return g->RunMode != RunTitle; }

    // One update with the player's keys, as bits, held.
    void Step(int keys) {
        UpdateRound(*g, RoundHost(), FrameHoldingBits(keys));
        ev.Observe(*g);
    }
};

struct Move {
    enum Type { Push, Kick, Jump, Turn, Wait } type;
    int i = 0, j = 0;  // the block's cell
    int dir = 0;       // index into kBoardDirections; for a turn 0 is Q, 1 is E
    int n = 0;         // cells pushed, updates waited
    bool fromTop = false;
    // After a jump: push (n2 > 0) or kick (n2 == 0) the stacked block
    // beside, in direction dir2 (-1 nothing).
    int dir2 = -1, n2 = 0;
};

constexpr float kCentre = 48.0f;  // the player's place inside a cell

int Cell(float v) { return CellIndex(v); }

bool OnTop(const GameState& g) { return g.PlayerY >= kBlockHeight && g.PlayerVelY == 0.0f; }

bool Resting(const BlockSlot& s, int layer) {
    return s.state == Solid && s.arriveTimer == 0 && IsSettled(s, layer);
}

// Cells the figure can walk through on the floor.
bool Walkable(const GameState& g, int i, int j) { return InBoard(i, j) && !SolidInPlayAt(g, i, j, 0); }

// Shortest walk on the floor from the figure's cell to (ti, tj), as the cells
// after the first; empty when there is none (or it is already there).
bool FindPath(const GameState& g, int ti, int tj, std::vector<std::pair<int, int>>& path) {
    path.clear();
    const int si = Cell(g.PlayerX), sj = Cell(g.PlayerZ);
    if (si == ti && sj == tj) return true;
    int from[kBoardSize][kBoardSize];
    for (auto& row : from)
        for (int& f : row) f = -1;
    std::queue<std::pair<int, int>> q;
    from[si][sj] = si * kBoardSize + sj;
    q.push({si, sj});
    while (!q.empty()) {
        auto [i, j] = q.front();
        q.pop();
        if (i == ti && j == tj) break;
        for (const BoardDirection& d : kBoardDirections) {
            const int ni = i + d.di, nj = j + d.dj;
            if (!Walkable(g, ni, nj) || from[ni][nj] >= 0) continue;
            from[ni][nj] = i * kBoardSize + j;
            q.push({ni, nj});
        }
    }
    if (from[ti][tj] < 0) return false;
    for (int c = ti * kBoardSize + tj; c != si * kBoardSize + sj; c = from[c / kBoardSize][c % kBoardSize])
        path.push_back({c / kBoardSize, c % kBoardSize});
    std::reverse(path.begin(), path.end());
    return true;
}

// Keys that bring the figure from `p` to `target` along one axis.
int Toward(float p, float target, int minusKey, int plusKey) {
    if (p < target) return plusKey;
    if (p > target) return minusKey;
    return 0;
}

// Walks to the middle of a cell: first square to the line of the next cell,
// then straight on. Fails when the way is shut or the figure stops moving.
bool WalkTo(Sim& s, int ti, int tj, int budget = 260) {
    std::vector<std::pair<int, int>> path;
    if (!FindPath(*s.g, ti, tj, path)) return false;
    path.insert(path.begin(), {Cell(s.g->PlayerX), Cell(s.g->PlayerZ)});
    size_t k = 0;
    int stuck = 0;
    for (int t = 0; t < budget && s.Running(); ++t) {
        GameState& g = *s.g;
        while (k + 1 < path.size() && Cell(g.PlayerX) == path[k + 1].first && Cell(g.PlayerZ) == path[k + 1].second)
            ++k;
        const auto [ci, cj] = path[k];
        int keys = 0;
        if (k + 1 == path.size()) {
            const float tx = ci * kCellSize + kCentre, tz = cj * kCellSize + kCentre;
            if (g.PlayerX == tx && g.PlayerZ == tz) return true;
            keys = Toward(g.PlayerX, tx, KeyLeft, KeyRight);
            if (keys == 0) keys = Toward(g.PlayerZ, tz, KeyDown, KeyUp);
        } else {
            const auto [ni, nj] = path[k + 1];
            if (ni != ci) {
                keys = Toward(g.PlayerZ, cj * kCellSize + kCentre, KeyDown, KeyUp);
                if (keys == 0) keys = ni > ci ? KeyRight : KeyLeft;
            } else {
                keys = Toward(g.PlayerX, ci * kCellSize + kCentre, KeyLeft, KeyRight);
                if (keys == 0) keys = nj > cj ? KeyUp : KeyDown;
            }
        }
        const float x = g.PlayerX, z = g.PlayerZ;
        s.Step(keys);
        if (s.g->PlayerX == x && s.g->PlayerZ == z && s.g->PlayerVelY == 0.0f) {
            if (++stuck > 2) return false;
        } else {
            stuck = 0;
        }
    }
    return false;
}

void Release(Sim& s) {
    if (s.Running()) s.Step(0);
}

// Walks against the block ahead until the figure leans on it, ready to
// push or kick.
bool Lean(Sim& s, const BoardDirection& d) {
    for (int t = 0; t < 40 && s.Running(); ++t) {
        if (s.g->PushIntent & d.intent) return true;
        s.Step(d.arrow);
    }
    return false;
}

bool RunPush(Sim& s, const Move& m) {
    const BoardDirection& d = kBoardDirections[m.dir];
    if (!m.fromTop && !WalkTo(s, m.i - d.di, m.j - d.dj)) return false;
    if (!Lean(s, d)) return false;
    Release(s);
    int pushes = 0;
    for (int t = 0; t < 40 * m.n + 10 && s.Running(); ++t) {
        s.Step(d.arrow);
        if (s.g->Events.pushed) ++pushes;
        if (pushes == m.n && !s.g->Pushing) {
            Release(s);
            return true;
        }
        if (pushes == 0 && t > 4) return false;
    }
    return false;
}

bool RunKick(Sim& s, const Move& m) {
    const BoardDirection& d = kBoardDirections[m.dir];
    if (!m.fromTop && !WalkTo(s, m.i - d.di, m.j - d.dj)) return false;
    if (!Lean(s, d)) return false;
    Release(s);
    const size_t kicks = s.ev.kicks.size();
    s.Step(KeyKick);
    Release(s);
    return s.ev.kicks.size() > kicks;
}

bool RunJump(Sim& s, const Move& m) {
    const BoardDirection& d = kBoardDirections[m.dir];
    if (!WalkTo(s, m.i - d.di, m.j - d.dj)) return false;
    s.Step(d.arrow | KeyJump);
    for (int t = 0; t < 60 && s.Running(); ++t) {
        GameState& g = *s.g;
        if (OnTop(g) && Cell(g.PlayerX) == m.i && Cell(g.PlayerZ) == m.j) {
            const float tx = m.i * kCellSize + kCentre, tz = m.j * kCellSize + kCentre;
            int keys = Toward(g.PlayerX, tx, KeyLeft, KeyRight);
            if (keys == 0) keys = Toward(g.PlayerZ, tz, KeyDown, KeyUp);
            if (keys == 0) {
                Release(s);
                if (!OnTop(*s.g)) return false;
                if (m.dir2 < 0) return true;
                const BoardDirection& d2 = kBoardDirections[m.dir2];
                Move act{m.n2 > 0 ? Move::Push : Move::Kick, m.i + d2.di, m.j + d2.dj, m.dir2, m.n2, true};
                return m.n2 > 0 ? RunPush(s, act) : RunKick(s, act);
            }
            s.Step(keys);
            continue;
        }
        if (g.PlayerVelY == 0.0f && t > 2) return false;
        s.Step(d.arrow);
    }
    return false;
}

bool RunTurn(Sim& s, const Move& m) {
    const int row = Cell(s.g->PlayerZ);
    s.Step(m.dir == 0 ? KeyTurnQ : KeyTurnE);
    for (int t = 0; t < 60 && s.Running() && s.g->TurnSpeed != 0; ++t) s.Step(0);
    // A turn brings the figure and its blocks round to the camera's side.
    return Cell(s.g->PlayerZ) < row;
}

bool RunMove(Sim& s, const Move& m) {
    switch (m.type) {
        case Move::Push: return RunPush(s, m);
        case Move::Kick: return RunKick(s, m);
        case Move::Jump: return RunJump(s, m);
        case Move::Turn: return RunTurn(s, m);
        case Move::Wait:
            for (int t = 0; t < m.n && s.Running(); ++t) s.Step(0);
            return true;
    }
    return false;
}

std::vector<Move> Candidates(const Sim& s, const BotOptions& o) {
    const GameState& g = *s.g;
    std::vector<Move> moves;
    const bool top = OnTop(g);
    const int pi = Cell(g.PlayerX), pj = Cell(g.PlayerZ);
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j) {
            if (!Resting(g.Board[i][j][0], 0)) continue;
            for (int dir = 0; dir < 4; ++dir) {
                const BoardDirection& d = kBoardDirections[dir];
                if (!Walkable(g, i - d.di, j - d.dj)) continue;
                for (int n = 1; n <= o.maxPush; ++n) {
                    const int ti = i + n * d.di, tj = j + n * d.dj;
                    if (!InBoard(ti, tj) || !FreeForMovingBlockAt(g, ti, tj, 0)) break;
                    moves.push_back({Move::Push, i, j, dir, n});
                }
                // A kick needs a free cell beyond and a cell behind the figure.
                const int line = d.di != 0 ? i - d.di : j - d.dj;
                const bool room = d.di + d.dj > 0 ? line < 5 : line > 1;
                if (room && FreeForMovingBlockAt(g, i + d.di, j + d.dj, 0))
                    moves.push_back({Move::Kick, i, j, dir, 0});
                if (o.jumps && g.Board[i][j][1].state == Empty) {
                    moves.push_back({Move::Jump, i, j, dir, 0});
                    // Up there, a stacked block beside can be pushed or kicked.
                    for (int dir2 = 0; dir2 < 4; ++dir2) {
                        const BoardDirection& d2 = kBoardDirections[dir2];
                        const int ui = i + d2.di, uj = j + d2.dj;
                        if (!InBoard(ui, uj) || !Resting(g.Board[ui][uj][1], 1)) continue;
                        if (!InBoard(ui + d2.di, uj + d2.dj) || !FreeForMovingBlockAt(g, ui + d2.di, uj + d2.dj, 1))
                            continue;
                        Move m{Move::Jump, i, j, dir, 0};
                        m.dir2 = dir2;
                        m.n2 = 1;
                        moves.push_back(m);
                        m.n2 = 0;
                        moves.push_back(m);
                    }
                }
            }
        }
    if (top && o.jumps) {
        for (int dir = 0; dir < 4; ++dir) {
            const BoardDirection& d = kBoardDirections[dir];
            const int i = pi + d.di, j = pj + d.dj;
            if (!InBoard(i, j) || !Resting(g.Board[i][j][1], 1)) continue;
            for (int n = 1; n <= 2; ++n) {
                const int ti = i + n * d.di, tj = j + n * d.dj;
                if (!InBoard(ti, tj) || !FreeForMovingBlockAt(g, ti, tj, 1)) break;
                moves.push_back({Move::Push, i, j, dir, n, true});
            }
            moves.push_back({Move::Kick, i, j, dir, 0, true});
        }
    }
    if (o.turns && static_cast<int>(s.ev.turns.size()) < o.maxTurns && pj >= 4) {
        moves.push_back({Move::Turn, 0, 0, 0, 0});
        moves.push_back({Move::Turn, 0, 0, 1, 0});
    }
    moves.push_back({Move::Wait, 0, 0, 0, 20});
    return moves;
}

int TouchingPairs(const GameState& g) {
    int n = 0;
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& s = g.Board[i][j][l];
                if (!Resting(s, l)) continue;
                if (i + 1 < kBoardSize) n += Resting(g.Board[i + 1][j][l], l) && g.Board[i + 1][j][l].colour == s.colour;
                if (j + 1 < kBoardSize) n += Resting(g.Board[i][j + 1][l], l) && g.Board[i][j + 1][l].colour == s.colour;
                if (l == 0) n += Resting(g.Board[i][j][1], 1) && g.Board[i][j][1].colour == s.colour;
            }
    return n;
}

// Blocks of a vanishing group's colour near it: links waiting to be made.
double ChainPotential(const GameState& g) {
    double v = 0;
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j) {
            const BlockSlot& s = g.Board[i][j][0];
            if (s.state != Vanishing || s.vanishTimer < 40) continue;
            double best = 0;
            for (int a = 0; a < kBoardSize; ++a)
                for (int b = 0; b < kBoardSize; ++b) {
                    const BlockSlot& t = g.Board[a][b][0];
                    if (!Resting(t, 0) || t.colour != s.colour) continue;
                    const int dist = std::abs(a - i) + std::abs(b - j);
                    if (dist >= 2 && dist <= 4) best = std::max(best, 1.0 / (dist - 1));
                }
            v += best * s.chainLevel;
        }
    return v;
}

double GoalValue(const RoundEvents& ev, const GameState& g, const BotGoal& goal) {
    int got = 0;
    // A quota met levels up at the start of the next update.
    const bool imminent = g.LevelQuota < 1 && g.TimeLeft > 0;
    const int next = g.RoundFrame + 1;
    switch (goal.kind) {
        case BotGoal::Chain: got = ev.ChainsIn(goal.size, goal.from, goal.to); break;
        case BotGoal::Group:
            for (const ChainEvent& c : ev.chains) got += c.level == 1 && c.frame >= goal.from && c.frame <= goal.to;
            break;
        case BotGoal::KickToWall: got = ev.KicksIn(goal.size, true, goal.from, goal.to); break;
        case BotGoal::KickToBlock: got = ev.KicksIn(goal.size, false, goal.from, goal.to); break;
        case BotGoal::LevelUp: {
            got = ev.LevelUpsIn(goal.from, goal.to) + (imminent && next >= goal.from && next <= goal.to);
            double v = goal.weight * std::min(got, goal.count);
            // On the way there: every block still owed to the quota costs a
            // little, down to the last one until the window opens.
            if (got < goal.count && g.RoundFrame <= goal.to)
                v -= goal.weight / 25.0 * std::max(g.LevelQuota, g.RoundFrame < goal.from ? 1 : 0);
            return v;
        }
        case BotGoal::NoLevelUp:
            got = ev.LevelUpsIn(goal.from, goal.to) + (imminent && next >= goal.from && next <= goal.to);
            return -goal.weight * std::max(got - goal.count, 0);
        case BotGoal::JumpOnto:
            for (int f : ev.jumpsOntoBlocks) got += f >= goal.from && f <= goal.to;
            break;
        case BotGoal::UpperPlay:
            for (int f : ev.upperPlay) got += f >= goal.from && f <= goal.to;
            break;
        case BotGoal::Turn:
            for (int f : ev.turns) got += f >= goal.from && f <= goal.to;
            break;
    }
    return goal.weight * std::min(got, goal.count);
}

double Value(const Sim& s, const BotOptions& o, int startFrame) {
    const GameState& g = *s.g;
    double v = static_cast<double>(g.Score) + o.pairValue * TouchingPairs(g);
    for (const BotGoal& goal : o.goals) v += GoalValue(s.ev, g, goal);
    if (o.chainBonus > 0) {
        for (const ChainEvent& c : s.ev.chains) v += o.chainBonus * (c.level - 1) * (c.level - 1);
        v += o.chainBonus * ChainPotential(g);
    }
    if (o.kickBonus > 0)
        for (const KickEvent& k : s.ev.kicks) v += o.kickBonus * std::min(k.cells, 6);
    v -= o.timeCost * (g.RoundFrame - startFrame);
    return v;
}

}  // namespace

double RecordingValue(const BotResult& r, const BotOptions& o) {
    double v = static_cast<double>(r.state->Score);
    for (const BotGoal& goal : o.goals) v += GoalValue(r.events, *r.state, goal);
    return v;
}

namespace {

double Judge(const Sim& after, const BotOptions& o, int startFrame, Sim& scratch) {
    scratch = after;
    for (int t = 0; t < o.lookahead && scratch.Running(); ++t) scratch.Step(0);
    return Value(scratch, o, startFrame);
}

}  // namespace

BotResult PlayBotRound(const BotOptions& options) {
    Sim real;
    GameState& g = *real.g;
    StartRoundOutsideTitle(g, options.runMode, PlaybackOff);

    BotResult result;
    Sim first, second, scratch;
    std::vector<std::pair<double, Sim>> beam;
    // The ready countdown: nothing can be pushed until the clock starts.
    while (real.Running() && g.ReadyCountdown > 0) real.Step(0);

    while (real.Running() && g.RoundFrame < options.maxFrames) {
        const int start = g.RoundFrame;
        const std::vector<Move> moves = Candidates(real, options);
        beam.clear();
        for (const Move& m : moves) {
            first = real;
            ++result.movesTried;
            if (!RunMove(first, m)) continue;
            const double v = Judge(first, options, start, scratch);
            beam.push_back({v, first});
            std::sort(beam.begin(), beam.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
            if (static_cast<int>(beam.size()) > options.beam) beam.pop_back();
        }
        if (beam.empty()) {
            real.Step(0);
            continue;
        }
        // Each of the best first moves is worth the best that can follow it.
        size_t best = 0;
        double bestValue = -1e300;
        for (size_t b = 0; b < beam.size(); ++b) {
            double v = beam[b].first;
            if (beam[b].second.Running() && beam[b].second.g->RoundFrame < options.maxFrames) {
                for (const Move& m : Candidates(beam[b].second, options)) {
                    second = beam[b].second;
                    ++result.movesTried;
                    if (!RunMove(second, m)) continue;
                    v = std::max(v, Judge(second, options, start, scratch));
                }
            }
            if (v > bestValue) {
                bestValue = v;
                best = b;
            }
        }
        real = beam[best].second;
    }
    while (real.Running()) real.Step(0);
    result.events = real.ev;
    result.state = std::move(real.g);
    return result;
}

}  // namespace mervox
