// Writing a frame as a PNG picture (headless captures and tests).
#pragma once

#include <cstdint>
#include <string>

namespace mervox {

// Writes the width x height picture whose top-left pixel is (originX,
// originY) of a frame of frameWidth x frameHeight words, as 8-bit RGB.
// Pixels of the picture that fall outside the frame are black. False when
// the file cannot be written. `fast` trades size for speed (zlib level 1,
// one filter), for pictures taken while the game runs.
bool WriteFramePng(const std::string& path, const uint32_t* frame, int frameWidth, int frameHeight,
                   int originX, int originY, int width, int height, bool fast = false);

// How many pictures WriteFramePng has encoded on the calling thread: the
// main loop's share of the screenshot key's work stays at none.
long PngPicturesEncodedOnThisThread();

}  // namespace mervox
