// The back buffer every frame is drawn into: 640 x 480 words, row 0 at the
// top, each word holding the bytes B, G, R and a fourth byte in memory order
// (0xAARRGGBB read as a little-endian word).
#pragma once

#include <cstdint>

namespace mervox {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;

struct FrameBuffer {
    uint32_t pixels[kFrameWidth * kFrameHeight];
};

}  // namespace mervox
