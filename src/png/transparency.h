#pragma once
// Transparency from a tRNS chunk turned into an alpha byte per pixel.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "png/byte_buffer.h"

namespace zorv::png {

// The per-index alpha table of a grey image: one 255 per grey level, with the
// transparent level (the second byte of the tRNS data) set to 0. Error 9 when
// that level is not one of the `levels`.
std::vector<std::uint8_t> GreyAlphaTable(std::span<const std::uint8_t> trnsData, std::size_t levels);

// Index rows (1, 4 or 8 bits per pixel, padded to 4 bytes) become BGRA rows of
// the palette's colours (red, green, blue triples) with the alpha of `alphas`
// (indices past its end are opaque). Error 9 for an index without a palette
// entry; any other bit count gives all-zero pixels.
void IndexedToBgra(std::int64_t width, std::int64_t height, std::int64_t bitsPerPixel,
                   ByteBuffer& buffer, std::span<const std::uint8_t> palette,
                   std::span<const std::uint8_t> alphas);

// The transparent colour of an RGB image as blue, green, red, comparable with
// 8-bit samples: the low bytes of the tRNS samples for 8-bit images, their high
// bytes for 16-bit images (whose samples were reduced to their high bytes).
// Error 9 when the data holds fewer than three samples.
std::array<std::uint8_t, 3> RgbTransparentKey(std::span<const std::uint8_t> trnsData, std::int64_t bitDepth);

// BGR rows padded to 4 bytes become BGRA rows in the same order, alpha 0 where
// the pixel is the key colour (blue, green, red) and 255 elsewhere. Error 9
// when rows are missing.
void RgbKeyToBgra(std::int64_t width, std::int64_t height, ByteBuffer& buffer,
                  const std::array<std::uint8_t, 3>& key);

}  // namespace zorv::png
