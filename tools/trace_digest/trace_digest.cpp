// Plays seeded rounds of erratic key changes in every mode, some on a
// crowded starting board, some on a scrambled one, and prints one digest per round of everything the
// round trace shows, the effects and saves the round asked for, and the
// grouping bookkeeping the trace leaves out. Two builds of the simulation
// play the same rounds alike exactly when their outputs are equal.
//
//   mervox_trace_digest [rounds-per-mode]   (default 12)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/headless/round_trace.h"
#include "game/simulation.h"
#include "game/state/board.h"
#include "game/key_bits.h"
#include "support/lcg.h"
#include "support/scrambled_board.h"

namespace mervox {
namespace {

struct Digest {
    uint64_t h = 1469598103934665603ull;
    void Add(const void* data, size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t k = 0; k < n; ++k) {
            h ^= p[k];
            h *= 1099511628211ull;
        }
    }
    void AddInt(long long v) { Add(&v, sizeof v); }
};

struct Player {
    Lcg rng;
    int style = 0;          // 0 any keys, 1 turns rare, 2 long holds of arrows and kicks
    int keys = 0;
    int next = 1;
    std::vector<int> effects;
    Digest calls;

    uint32_t Next() { return rng.Next(); }
    void Choose(int update) {
        const uint32_t r = Next();
        keys = static_cast<int>((r >> 8) & 0xff);
        if (style >= 1 && (r >> 4) % 16 != 0) keys &= ~(KeyTurnQ | KeyTurnE);
        if (style == 0 && (r >> 20) % 3 == 0) keys &= kArrowBits;
        if (style == 2 && (r >> 20) % 2 == 0) keys &= kArrowBits | KeyKick;
        const int span = style == 2 ? 60 : 30;
        next = update + 1 + static_cast<int>((Next() >> 24) % span);
    }
};

// Fills most of the board with settled blocks of the colours in play.
void CrowdBoard(GameState& g, Player& p) {
    for (int i = 0; i < kBoardSize; ++i)
        for (int j = 0; j < kBoardSize; ++j)
            for (int l = 0; l < kLayers; ++l) {
                const uint32_t r = p.Next() >> 16;
                if (r % 10 < (l == 0 ? 6u : 3u)) continue;
                if (l == 1 && g.Board[i][j][0].state == Empty) continue;
                BlockSlot& s = g.Board[i][j][l];
                s = BlockSlot{};
                s.state = Solid;
                s.colour = static_cast<int>((r >> 4) % static_cast<uint32_t>(g.ColourCount));
                s.height = static_cast<float>(l * 100);
            }
}

struct RoundFacts {
    int updates = 0;
    unsigned score = 0;
    int level = 0;
    int cleared = 0;
    int topChain = 0;
};

// What the round asks for, noted by the player: the effects of the update,
// and the voices and saves into the digest.
class PlayerHost final : public RoundHost {
public:
    explicit PlayerHost(Player& p) : p_(p) {}
    void writeEffect(int k, bool restart) const override { p_.effects.push_back(restart ? 100 + k : k); }
    void playVoice(VoiceClip c) const override { p_.calls.AddInt(1000 + static_cast<int>(c)); }
    void saveScoresAndConfig() const override { p_.calls.AddInt(2000); }
    void saveReplay() const override { p_.calls.AddInt(3000); }

private:
    Player& p_;
};

// A scrambled round (support/scrambled_board.h) is scrambled again every
// 400 updates while it runs.
uint64_t PlayRound(mervox::RunModeValue mode, uint32_t seed, int style, bool crowded, bool scrambled, RoundFacts& facts) {
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, mode, PlaybackOff);
    Player player;
    player.rng.state = seed * 7919u + static_cast<uint32_t>(mode) * 31u + static_cast<uint32_t>(style);
    player.style = style;
    if (crowded) {
        g->ColourCount = 3 + static_cast<int>(seed % 3);
        if (seed > 6) {
            // Deep into a round: many colours, a high cap, frequent supplies.
            g->Level = 3 * static_cast<int>(seed);
            g->BlockCap = 30 + static_cast<int>(seed);
            g->SupplyInterval = 240;
        }
        CrowdBoard(*g, player);
    }
    if (scrambled) ScrambleBoard(*g, player.rng);
    int nextScramble = 400;
    const PlayerHost host(player);

    Digest d;
    std::string line;
    int updates = 0;
    while (g->RunMode != RunTitle && updates < 40000) {
        if (updates >= player.next) player.Choose(updates);
        if (scrambled && updates == nextScramble && g->TimeLeft > 0) {
            ScrambleBoard(*g, player.rng);
            nextScramble += 400;
        }
        player.effects.clear();
        UpdateRound(*g, host, FrameHoldingBits(player.keys));
        ++updates;
        line.clear();
        AppendTraceLine(*g, player.effects, line);
        d.Add(line.data(), line.size());
        d.AddInt(g->MarkCounter);
        d.Add(g->GroupSizeTable, sizeof g->GroupSizeTable);
        d.AddInt(g->LastChainSlot);
        d.Add(g->ColourCounts, sizeof g->ColourCounts);
        d.Add(g->HighScores, sizeof g->HighScores);
        for (const ChainSlot& c : g->ChainSlots) facts.topChain = c.chain > facts.topChain ? c.chain : facts.topChain;
        facts.score = g->Score;
        facts.level = g->Level;
        facts.cleared = g->BlocksCleared;
    }
    facts.updates = updates;
    d.AddInt(static_cast<long long>(player.calls.h));
    return d.h;
}

}  // namespace
}  // namespace mervox

int main(int argc, char** argv) {
    int rounds = 12;
    if (argc > 1) {
        char* end = nullptr;
        const long n = std::strtol(argv[1], &end, 10);
        if (end == argv[1] || *end != '\0' || n < 1 || n > 100000) {
            std::fprintf(stderr, "mervox_trace_digest: rounds per mode must be a number from 1 to 100000\n");
            return 2;
        }
        rounds = static_cast<int>(n);
    }
    mervox::Digest all;
    long total = 0;
    for (mervox::RunModeValue mode : mervox::kRoundModes)
        for (int r = 0; r < rounds; ++r) {
            const int style = r % 3;
            const bool crowded = (r / 3) % 2 == 1;
            const bool scrambled = r % 4 == 3;
            mervox::RoundFacts f;
            const uint64_t h = mervox::PlayRound(mode, static_cast<uint32_t>(r + 1), style, crowded, scrambled, f);
            std::printf("mode %d round %d style %d crowded %d scrambled %d updates %d score %u level %d cleared %d "
                        "chain %d digest %016llx\n",
                        mode, r, style, crowded ? 1 : 0, scrambled ? 1 : 0, f.updates, f.score, f.level, f.cleared,
                        f.topChain, static_cast<unsigned long long>(h));
            all.AddInt(static_cast<long long>(h));
            total += f.updates;
        }
    std::printf("all %ld updates digest %016llx\n", total, static_cast<unsigned long long>(all.h));
    return 0;
}
