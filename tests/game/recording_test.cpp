// What a keyboard round records: each key as its bit in the recording
// files, and no more than 6000 key changes.
#include <gtest/gtest.h>

#include <memory>

#include "game/simulation.h"

namespace mervox::testing {
namespace {

TEST(RecordingRoundTrip, EachKeyIsRecordedAsItsFileBit) {
    // The bits the shipped recordings were written with.
    const struct {
        HostKey key;
        int bit;
    } kFileBits[] = {{HostKey::Left, 1},      {HostKey::Up, 2},          {HostKey::Right, 4},
                     {HostKey::Down, 8},      {HostKey::Kick, 16},       {HostKey::Jump, 32},
                     {HostKey::TurnLeft, 64}, {HostKey::TurnRight, 128}};
    for (const auto& k : kFileBits) {
        auto g = std::make_unique<GameState>();
        StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
        UpdateRound(*g, RoundHost(), HoldingKeys({k.key}));
        ASSERT_EQ(g->InputLogIndex, 1) << k.bit;
        EXPECT_EQ(g->InputLog[0].keys, k.bit);
        EXPECT_EQ(g->InputLog[0].frame, 1);
    }
}

TEST(RecordingRoundTrip, RecordingStopsAt6000Changes) {
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, PlaybackOff);
    const RoundHost host;
    for (int k = 1; k <= 6100; ++k) UpdateRound(*g, host, k % 2 == 1 ? HoldingKeys({HostKey::Jump}) : InputFrame{});
    EXPECT_EQ(g->InputLogIndex, kInputLogLength);
    EXPECT_EQ(g->InputLog[kInputLogLength - 1].frame, 6000);
}

}  // namespace
}  // namespace mervox::testing
