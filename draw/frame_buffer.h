// The back buffer every frame is drawn into: 640 x 480 words at the
// original scale, row 0 at the top, each word holding the bytes B, G, R and
// a fourth byte in memory order (0xAARRGGBB read as a little-endian word).
// At drawing scale N the same picture is drawn into N x 640 by N x 480
// words: every pixel of the original picture becomes an N x N block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mervox {

constexpr int kFrameWidth = 640;
constexpr int kFrameHeight = 480;
constexpr int kMaxDrawScale = 4;

// The picture shown starts at the frame's pixel (1, 1), (N, N) at drawing
// scale N: screen positions count from 1, and the frame's top row and left
// column are never shown.
constexpr int kPictureOrigin = 1;

struct FrameBuffer {
    uint32_t pixels[kFrameWidth * kFrameHeight];
};

// The frame a drawing goes into: its pixels, size and drawing scale.
struct FrameView {
    uint32_t* pixels = nullptr;
    int width = kFrameWidth;
    int height = kFrameHeight;
    int scale = 1;

    FrameView() = default;
    FrameView(FrameBuffer& fb) : pixels(fb.pixels) {}  // NOLINT: a 1x frame is a frame
    FrameView(uint32_t* p, int drawScale)
        : pixels(p), width(kFrameWidth * drawScale), height(kFrameHeight * drawScale), scale(drawScale) {}
};

// A back buffer at any drawing scale, resized when the scale changes.
struct ScaledFrame {
    int scale = 0;
    std::vector<uint32_t> pixels;

    // Makes the buffer N x 640 by N x 480 (N clamped to 1..kMaxDrawScale).
    void SetScale(int drawScale) {
        if (drawScale < 1) drawScale = 1;
        if (drawScale > kMaxDrawScale) drawScale = kMaxDrawScale;
        if (drawScale == scale) return;
        scale = drawScale;
        pixels.assign(static_cast<size_t>(kFrameWidth) * kFrameHeight * scale * scale, 0);
    }
    FrameView view() { return FrameView(pixels.data(), scale); }
};

}  // namespace mervox
