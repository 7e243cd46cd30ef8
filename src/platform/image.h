#pragma once
// A picture held in memory: what a device bitmap, a picture box or a captured
// background shows, one 0x00RRGGBB value per pixel, top row first.
#include <cstdint>
#include <vector>

namespace zorv {

struct Image {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;  // width * height values, row after row

  Image() = default;
  Image(std::int32_t w, std::int32_t h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}

  const std::uint32_t& At(std::int32_t x, std::int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  std::uint32_t& At(std::int32_t x, std::int32_t y) {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  bool Empty() const { return width <= 0 || height <= 0; }

  friend bool operator==(const Image&, const Image&) = default;
};

constexpr std::uint32_t PackRgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  return (red << 16) | (green << 8) | blue;
}

}  // namespace zorv
