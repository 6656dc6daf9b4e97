#include "round_events.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/state/board.h"

namespace mervox {

namespace {

int SlideDirI(const BlockSlot& s) { return s.slideX > 0.0f ? 1 : s.slideX < 0.0f ? -1 : 0; }
int SlideDirJ(const BlockSlot& s) { return s.slideZ > 0.0f ? 1 : s.slideZ < 0.0f ? -1 : 0; }

bool SlidesAt(const GameState& g, int i, int j, int layer, int di, int dj) {
    const BlockSlot* s = SlotAt(g, i, j, layer);
    return s != nullptr && s->state != Empty && SlideDirI(*s) == di && SlideDirJ(*s) == dj;
}

}  // namespace

void RoundEvents::Observe(const GameState& g) {
    const int frame = g.RoundFrame;

    // A link's slot is taken at 120 and counted down once in its own update.
    for (const ChainSlot& c : g.ChainSlots)
        if (c.timer == 119) chains.push_back({frame, c.chain, c.count});

    // Sliding blocks: follow each from cell to cell until it rests.
    bool seen[kBoardSize][kBoardSize][kLayers] = {};
    for (size_t k = 0; k < sliders_.size();) {
        Slider& s = sliders_[k];
        if (SlidesAt(g, s.i, s.j, s.layer, s.di, s.dj)) {
            seen[s.i][s.j][s.layer] = true;
            ++k;
            continue;
        }
        if (SlidesAt(g, s.i + s.di, s.j + s.dj, s.layer, s.di, s.dj)) {
            s.i += s.di;
            s.j += s.dj;
            seen[s.i][s.j][s.layer] = true;
            ++k;
            continue;
        }
        KickEvent& e = kicks[static_cast<size_t>(s.index)];
        e.cells = std::abs(s.i - e.fromI) + std::abs(s.j - e.fromJ);
        e.wall = !InBoard(s.i + s.di, s.j + s.dj);
        e.stopFrame = frame;
        sliders_.erase(sliders_.begin() + static_cast<long>(k));
    }
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const BlockSlot& b = g.Board[i][j][l];
                const int di = SlideDirI(b), dj = SlideDirJ(b);
                if (b.state == Empty || (di == 0 && dj == 0) || seen[i][j][l]) continue;
                // A kick puts the block one cell on at once, 96 back from the
                // cell's middle, and this update has moved it 8 nearer.
                const float offset = di != 0 ? b.offsetX * static_cast<float>(di) : b.offsetZ * static_cast<float>(dj);
                if (offset != -88.0f || !InBoard(i - di, j - dj)) continue;
                sliders_.push_back({i, j, l, di, dj, static_cast<int>(kicks.size())});
                kicks.push_back({frame, l, i - di, j - dj, 0, false, 0});
                if (l == 1) upperPlay.push_back(frame);
            }

    if (g.PlayerVelY == 0.0f && playerVelY_ != 0.0f && g.PlayerY >= 100.0f) jumpsOntoBlocks.push_back(frame);
    if (g.Pushing != 0 && pushing_ == 0 && g.PlayerY >= 100.0f) upperPlay.push_back(frame);
    if (g.TurnSpeed != 0 && turnSpeed_ == 0) turns.push_back(frame);
    if (g.Level > level_) levelUps.push_back(frame);
    level_ = g.Level;
    playerVelY_ = g.PlayerVelY;
    pushing_ = g.Pushing;
    turnSpeed_ = g.TurnSpeed;
}

int RoundEvents::ChainsIn(int level, int from, int to) const {
    int n = 0;
    for (const ChainEvent& c : chains) n += c.level >= level && c.frame >= from && c.frame <= to;
    return n;
}

int RoundEvents::KicksIn(int cells, bool wall, int from, int to) const {
    int n = 0;
    for (const KickEvent& k : kicks)
        n += k.stopFrame != 0 && k.cells >= cells && k.wall == wall && k.frame >= from && k.frame <= to;
    return n;
}

int RoundEvents::LevelUpsIn(int from, int to) const {
    int n = 0;
    for (int f : levelUps) n += f >= from && f <= to;
    return n;
}

int RoundEvents::MaxChainLevel() const {
    int m = 0;
    for (const ChainEvent& c : chains) m = std::max(m, c.level);
    return m;
}

std::string RoundEvents::Summary() const {
    std::string out;
    char buf[96];
    out += "chains (frame:level×blocks):";
    for (const ChainEvent& c : chains) {
        std::snprintf(buf, sizeof buf, " %d:%d×%d", c.frame, c.level, c.count);
        out += buf;
    }
    out += "\nkicks (frame:cells, wall/block):";
    for (const KickEvent& k : kicks) {
        std::snprintf(buf, sizeof buf, " %d:%d%s%s", k.frame, k.cells, k.wall ? "w" : "b",
                      k.layer == 1 ? "(upper)" : "");
        out += buf;
    }
    auto list = [&](const char* name, const std::vector<int>& v) {
        out += "\n";
        out += name;
        for (int f : v) {
            std::snprintf(buf, sizeof buf, " %d", f);
            out += buf;
        }
    };
    list("jumps onto blocks:", jumpsOntoBlocks);
    list("upper-layer play:", upperPlay);
    list("level-ups:", levelUps);
    list("board turns:", turns);
    out += "\n";
    return out;
}

}  // namespace mervox
