// Sprite sheets: PNG images decoded once into 32-bit words (A R G B from
// the high byte down; B, G, R, A in memory), and the alpha-blended copy of
// a rectangle of a sheet into the frame buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "draw/frame_buffer.h"

namespace mervox {

struct SpriteSheet {
    uint32_t* pixels = nullptr;  // width x height words, top row first; null while not loaded
    int32_t width = 0;
    int32_t height = 0;
};

inline int SheetWidth(const SpriteSheet& s) { return s.width; }
inline int SheetHeight(const SpriteSheet& s) { return s.height; }

// Decodes the PNG file at `path`. On any failure the sheet is left as it
// was, false is returned and `why` (when given) says why in a few words. A
// sheet that is already loaded is freed first only on success.
bool LoadPngImage(const std::string& path, SpriteSheet& sheet, std::string* why = nullptr);

// The same from a memory image of the file. Never reads outside
// [data, data + size). Returns true when the sheet was loaded.
bool LoadPngImageFromMemory(const uint8_t* data, size_t size, SpriteSheet& sheet);

// Frees the pixels (if any) and marks the sheet unloaded.
void FreeSpriteSheet(SpriteSheet& sheet);

// Copies the width x height rectangle at (srcX, srcY) of the sheet to
// (dstX, dstY) of the 640 x 480 frame: opaque pixels are copied, clear ones
// skipped, the rest blended as (s * a + d * (255 - a)) >> 8 per colour with
// the fourth byte set to 0. Clipped to the frame and to the sheet; an
// unloaded sheet draws nothing. Returns 0.
int DrawSprite(uint32_t* frame, int width, int height, const SpriteSheet& sheet, int dstX, int dstY,
               int srcX, int srcY);
// The same into a frame of any size; every value in that frame's pixels.
int DrawSprite(const FrameView& frame, int width, int height, const SpriteSheet& sheet, int dstX, int dstY,
               int srcX, int srcY);

// A sheet `scale` times larger in each direction, every pixel an N x N
// block (for a scale whose drawn sheet is missing). Unloaded stays unloaded.
void EnlargeSheet(const SpriteSheet& from, int scale, SpriteSheet& to);

}  // namespace mervox
