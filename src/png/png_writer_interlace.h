#pragma once
// Adam7 on the writing side: the seven reduced images an interlaced PNG stores
// one after the other.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::png {

struct PngPassImage {
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t rowBytes = 0;
  std::vector<std::uint8_t> rows;  // packed like the full image's rows
};

// Pass 0..6 of an image of `width` × `height` pixels of `bitsPerPixel` bits
// whose rows are `rowBytes` apart. A pass can be empty (width or height 0).
PngPassImage ExtractAdam7Pass(std::span<const std::uint8_t> samples, std::size_t width, std::size_t height,
                              std::size_t rowBytes, std::size_t bitsPerPixel, int pass);

}  // namespace zorv::png
