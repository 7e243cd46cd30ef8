#pragma once
// A picture of palette indices, the form GIF files and palette PNGs hold.
#include <cstdint>
#include <optional>
#include <vector>

namespace zorv::pictures {

struct IndexedImage {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::vector<std::uint8_t> indices;  // width × height, top row first
  std::vector<std::uint8_t> palette;  // red, green, blue per entry; 1 to 256 entries
  std::optional<std::uint8_t> transparentIndex;
};

}  // namespace zorv::pictures
