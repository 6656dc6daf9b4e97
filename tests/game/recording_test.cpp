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
    } kFileBits[] = {{HostKey::Left, 1}, {HostKey::Up, 2},  {HostKey::Right, 4}, {HostKey::Down, 8},
                     {HostKey::Z, 16},   {HostKey::X, 32},  {HostKey::Q, 64},    {HostKey::E, 128}};
    for (const auto& k : kFileBits) {
        auto g = std::make_unique<GameState>();
        StartRoundOutsideTitle(*g, RunGame, 0);
        HostKey held = k.key;
        RoundHost host;
        host.ctx = &held;
        host.keyDown = [](void* ctx, HostKey key) { return key == *static_cast<HostKey*>(ctx); };
        UpdateRound(*g, host);
        ASSERT_EQ(g->InputLogIndex, 1) << k.bit;
        EXPECT_EQ(g->InputLog[0].keys, k.bit);
        EXPECT_EQ(g->InputLog[0].frame, 1);
    }
}

TEST(RecordingRoundTrip, RecordingStopsAt6000Changes) {
    auto g = std::make_unique<GameState>();
    StartRoundOutsideTitle(*g, RunGame, 0);
    int toggle = 0;
    RoundHost host;
    host.ctx = &toggle;
    host.keyDown = [](void* ctx, HostKey key) {
        return key == HostKey::X && (*static_cast<int*>(ctx) & 1);
    };
    for (int k = 0; k < 6100; ++k) {
        ++toggle;
        UpdateRound(*g, host);
    }
    EXPECT_EQ(g->InputLogIndex, kInputLogLength);
    EXPECT_EQ(g->InputLog[kInputLogLength - 1].frame, 6000);
}

}  // namespace
}  // namespace mervox::testing
