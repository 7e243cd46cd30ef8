#pragma once
// A device bitmap built from the published device-independent bitmap format:
// a 40-byte header, for 1, 4 and 8 bits per pixel a colour table, and rows
// padded to multiples of 4 bytes.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/image.h"

namespace zorv {

struct BitmapInfoHeader {
  std::uint32_t biSize = 0;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // negative: top row first; positive: bottom row first
  std::uint16_t biPlanes = 0;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct RgbQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;

  friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == 4);

// Bytes of one bitmap row: whole 32-bit words.
constexpr std::int64_t BitmapRowStride(std::int64_t width, std::int64_t bitsPerPixel) {
  return (bitsPerPixel * width + 31) / 32 * 4;
}

// The picture the header, colour table and rows describe, or nothing when they
// do not describe one (an unsupported depth or compression, a zero or negative
// size, too few rows, an indexed depth without its colour table). An index
// beyond the colour table shows black.
std::optional<Image> CreateDeviceBitmap(const BitmapInfoHeader& header, std::span<const RgbQuad> colours,
                                        std::span<const std::uint8_t> rows);

}  // namespace zorv
