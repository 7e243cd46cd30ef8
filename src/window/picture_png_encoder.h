#pragma once
// The PNG file a report's picture group carries, compressed by libdeflate.
// Made for speed rather than size, since a saved report is opened once by a
// word processor: a picture of at most 256 colours (a game screen) becomes an
// 8-bit palette image, any other an 8-bit RGB image; rows use the Up filter.
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace zorv {

// The whole PNG file. Error 481 for a picture without pixels (or with fewer or
// more than its size says), 7 when memory for the compressor runs out.
std::vector<std::uint8_t> EncodePicturePng(const Image& picture);

}  // namespace zorv
