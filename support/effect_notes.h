// A round host that notes each effect the round writes, for a player made
// of code (tests, tools, benchmarks) to compare what two rounds sounded
// like.
#pragma once

#include <vector>

#include "game/round_host.h"

namespace mervox {

class EffectNotes final : public RoundHost {
public:
    // `restartsApart`: a restarted effect k is noted as 100 + k.
    explicit EffectNotes(std::vector<int>& notes, bool restartsApart = false)
        : notes_(notes), restartsApart_(restartsApart) {}
    void writeEffect(int effect, bool restart) const override {
        notes_.push_back(restartsApart_ && restart ? 100 + effect : effect);
    }

private:
    std::vector<int>& notes_;
    bool restartsApart_;
};

}  // namespace mervox
