#include "png/png_writer_interlace.h"

#include <array>
#include <cstring>

namespace zorv::png {
namespace {

struct Adam7Pass {
  std::size_t xStart, yStart, xStep, yStep;
};

constexpr std::array<Adam7Pass, 7> kPasses = {{
    {0, 0, 8, 8},
    {4, 0, 8, 8},
    {0, 4, 4, 8},
    {2, 0, 4, 4},
    {0, 2, 2, 4},
    {1, 0, 2, 2},
    {0, 1, 1, 2},
}};

std::size_t Reduced(std::size_t size, std::size_t start, std::size_t step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

}  // namespace

PngPassImage ExtractAdam7Pass(std::span<const std::uint8_t> samples, std::size_t width, std::size_t height,
                              std::size_t rowBytes, std::size_t bitsPerPixel, int pass) {
  const Adam7Pass& p = kPasses[static_cast<std::size_t>(pass)];
  PngPassImage image;
  image.width = Reduced(width, p.xStart, p.xStep);
  image.height = Reduced(height, p.yStart, p.yStep);
  if (image.width == 0 || image.height == 0) return PngPassImage{};
  image.rowBytes = (image.width * bitsPerPixel + 7) / 8;
  image.rows.assign(image.rowBytes * image.height, 0);
  const std::size_t bytesPerPixel = bitsPerPixel / 8;
  for (std::size_t py = 0; py < image.height; ++py) {
    const std::uint8_t* source = samples.data() + (p.yStart + py * p.yStep) * rowBytes;
    std::uint8_t* target = image.rows.data() + py * image.rowBytes;
    if (bitsPerPixel >= 8) {
      for (std::size_t px = 0; px < image.width; ++px)
        std::memcpy(target + px * bytesPerPixel, source + (p.xStart + px * p.xStep) * bytesPerPixel, bytesPerPixel);
      continue;
    }
    // Samples of 1, 2 or 4 bits, packed from the top bit of each byte.
    const unsigned mask = (1u << bitsPerPixel) - 1;
    for (std::size_t px = 0; px < image.width; ++px) {
      const std::size_t fromBit = (p.xStart + px * p.xStep) * bitsPerPixel;
      const unsigned value = (source[fromBit / 8] >> (8 - bitsPerPixel - fromBit % 8)) & mask;
      const std::size_t toBit = px * bitsPerPixel;
      target[toBit / 8] = static_cast<std::uint8_t>(target[toBit / 8] | value << (8 - bitsPerPixel - toBit % 8));
    }
  }
  return image;
}

}  // namespace zorv::png
