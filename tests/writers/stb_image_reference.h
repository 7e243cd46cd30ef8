#pragma once
// stb_image, a reference decoder for the GIF and JPEG files our tools write.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zorv::testing {

struct DecodedRgba {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // 4 bytes per pixel, top row first
};

std::optional<DecodedRgba> DecodeWithStbImage(std::span<const std::uint8_t> file);

}  // namespace zorv::testing
