// A keyboard round, recorded as it is played and saved, plays back from
// the saved file exactly as it was played, update for update.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/common/playback_round.h"
#include "app/headless/round_trace.h"
#include "game/simulation.h"
#include "save/input_log_file.h"
#include "game/key_bits.h"
#include "support/effect_notes.h"

namespace mervox::testing {
namespace {

// A keyboard player who changes keys on a fixed pseudo-random schedule.
struct ScriptedPlayer {
    uint32_t seed = 12345;
    int keys = 0;
    int nextChange = 200;
    std::vector<int> effects;

    void Advance(int frame) {
        if (frame < nextChange) return;
        seed = seed * 1103515245u + 12345u;
        static constexpr int kChoices[] = {0, KeyLeft, KeyRight, KeyUp, KeyDown, KeyKick,
                                           KeyJump, KeyTurnQ, KeyLeft | KeyUp, KeyRight | KeyKick,
                                           KeyDown, KeyLeft, 0, KeyTurnE, KeyRight};
        keys = kChoices[(seed >> 16) % (sizeof kChoices / sizeof kChoices[0])];
        nextChange = frame + 3 + static_cast<int>((seed >> 8) % 40);
    }
};

TEST(RecordingRoundTrip, AKeyboardRoundPlaysBackUpdateForUpdate) {
    const auto dir = std::filesystem::temp_directory_path() / "mervox-roundtrip";
    std::filesystem::create_directories(dir / "data");

    // Played from the keyboard: recorded as the round runs.
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
    ScriptedPlayer player;
    const EffectNotes host(player.effects);
    std::vector<std::string> played;
    while (g->RunMode != RunTitle) {
        player.Advance(g->RoundFrame + 1);
        player.effects.clear();
        UpdateRound(*g, host, FrameHoldingBits(player.keys));
        std::string line;
        AppendTraceLine(*g, player.effects, line);
        played.push_back(line);
    }
    ASSERT_GT(g->InputLogIndex, 50) << "the script changed keys many times";
    ASSERT_TRUE(SaveReplay(*g, dir.string()));

    // Played back headless from the saved file.
    auto h = std::make_unique<GameState>();
    ASSERT_TRUE(StartPlaybackRound(*h, RunGame, (dir / "data/replay.dat").string()));
    std::vector<int> effects;
    const EffectNotes quiet(effects);
    size_t n = 0;
    while (h->RunMode != RunTitle && n < played.size()) {
        effects.clear();
        UpdateRound(*h, quiet, InputFrame{});
        std::string line;
        AppendTraceLine(*h, effects, line);
        ASSERT_EQ(line, played[n]) << "update " << n + 1;
        ++n;
    }
    EXPECT_EQ(n, played.size());
    EXPECT_EQ(h->RunMode, RunTitle);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace mervox::testing
