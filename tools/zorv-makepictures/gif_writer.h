#pragma once
// Writes a GIF89a file: one image, one global colour table, LZW-compressed
// indices, and a transparent index when the image has one.
#include <cstdint>
#include <vector>

#include "indexed_image.h"

namespace zorv::pictures {

// Error 5 when the image has no pixels, indices of the wrong count or beyond the
// palette, or a palette that is empty, longer than 256 entries or not in triples.
std::vector<std::uint8_t> EncodeGif(const IndexedImage& image);

}  // namespace zorv::pictures
