// What a chain link is worth: the score pays it once, the pop-up beside the
// board shows it while the link lives.
#pragma once

#include <algorithm>
#include <cstdint>

namespace mervox {

// Points for each block of a link of `count` blocks at chain level `chain`:
// a first link pays more for every block past three, a later one more for
// each level of the chain.
constexpr int64_t LinkPointsPerBlock(int64_t count, int64_t chain) {
    return chain == 1 ? 10 * (std::max<int64_t>(count - 3, 0) + 10) : 10 * (count + 4 * chain + 5);
}

}  // namespace mervox
