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
    const UpdateEvents& e = g.Events;

    for (int k = 0; k < e.linkCount && k < kChainSlotCount; ++k)
        chains.push_back({frame, e.links[k].chain, e.links[k].count});

    // Sliding blocks: follow each from cell to cell until it rests.
    for (size_t k = 0; k < sliders_.size();) {
        Slider& s = sliders_[k];
        if (SlidesAt(g, s.i, s.j, s.layer, s.di, s.dj)) {
            ++k;
            continue;
        }
        if (SlidesAt(g, s.i + s.di, s.j + s.dj, s.layer, s.di, s.dj)) {
            s.i += s.di;
            s.j += s.dj;
            ++k;
            continue;
        }
        KickEvent& kick = kicks[static_cast<size_t>(s.index)];
        kick.cells = std::abs(s.i - kick.fromI) + std::abs(s.j - kick.fromJ);
        kick.wall = !InBoard(s.i + s.di, s.j + s.dj);
        kick.stopFrame = frame;
        sliders_.erase(sliders_.begin() + static_cast<long>(k));
    }
    // A kick puts the block one cell on at once; it slides from there.
    for (int k = 0; k < e.kickCount && k < kKicksPerUpdate; ++k) {
        const BlockMove& m = e.kicks[k];
        sliders_.push_back({m.i + m.di, m.j + m.dj, m.layer, m.di, m.dj, static_cast<int>(kicks.size())});
        kicks.push_back({frame, m.layer, m.i, m.j, 0, false, 0});
        if (m.layer == 1) upperPlay.push_back(frame);
    }

    if (e.landedOnBlock) jumpsOntoBlocks.push_back(frame);
    if (e.pushed && e.push.layer == 1) upperPlay.push_back(frame);
    if (e.turnStarted) turns.push_back(frame);
    if (e.levelUp) levelUps.push_back(frame);
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
