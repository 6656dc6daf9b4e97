// What a round shows a watcher, gathered from what each update notes it did
// (GameState::Events): chain links with their level, kicked blocks and how
// far they slid, jumps onto blocks, play from the upper layer, level-ups,
// board turns. The recording bot steers by these events and the replay
// tests check them.
#pragma once

#include <string>
#include <vector>

#include "game/state/game_state.h"

namespace mervox {

struct ChainEvent {
    int frame;
    int level;  // 1 the starting group, k >= 2 the k-th link
    int count;  // blocks in the link
};

struct KickEvent {
    int frame;     // the update of the kick
    int layer;     // 1 when kicked from on top of a block
    int fromI, fromJ; // the cell it was kicked from
    int cells;     // cells the block moved from where it stood
    bool wall;     // stopped by the board's edge (otherwise by a block)
    int stopFrame; // the update it came to rest, 0 while still sliding
};

struct RoundEvents {
    std::vector<ChainEvent> chains;
    std::vector<KickEvent> kicks;
    std::vector<int> jumpsOntoBlocks;  // frames of landing on a block's top
    std::vector<int> upperPlay;        // frames of a push or kick from on top
    std::vector<int> levelUps;         // frames the level rose
    std::vector<int> turns;            // frames a board turn began

    // Call once after every update of the round.
    void Observe(const GameState& g);

    // Chain links of at least `level` made within [from, to].
    int ChainsIn(int level, int from, int to) const;
    // Kicks within [from, to] that slid at least `cells`, stopped by the
    // wall (wall true) or a block (wall false).
    int KicksIn(int cells, bool wall, int from, int to) const;
    int LevelUpsIn(int from, int to) const;
    int MaxChainLevel() const;

    std::string Summary() const;

  private:
    struct Slider {
        int i, j, layer, di, dj, index;
    };
    std::vector<Slider> sliders_;
};

}  // namespace mervox
