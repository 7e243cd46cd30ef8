#pragma once
// A picture held in memory: what a device bitmap, a picture box or a captured
// background shows, one 0x00RRGGBB value per pixel, top row first.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorv {

// Whether `storage` (the pixels of a picture about to be replaced) can take a
// picture of `pixels` values in place: it holds that many already, and not
// twice as many, which would keep memory the new picture does not need.
inline bool FitsInPlace(const std::vector<std::uint32_t>& storage, std::size_t pixels) {
  return storage.size() >= pixels && storage.capacity() / 2 <= pixels;
}

struct Image {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;  // width * height values, row after row

  Image() = default;
  // A w x h picture of one colour, in the memory of `storage` where it fits in
  // place (FitsInPlace), else in new memory asked for in huge pages
  // (platform/huge_pages.h): a capture or a picture reusing the memory of the
  // one it replaces takes no page faults at all.
  Image(std::int32_t w, std::int32_t h, std::uint32_t fill = 0, std::vector<std::uint32_t> storage = {});

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
